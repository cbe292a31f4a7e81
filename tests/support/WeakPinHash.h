#pragma once

#include <QByteArray>
#include <QString>
#include <sodium.h>

/// A right hash string of the PIN made under libsodium's smallest limits, as an older version
/// of the program or another tool might have stored it; empty when hashing failed.
inline QByteArray WeakPinHash(const QString& pin)
{
    char out[crypto_pwhash_STRBYTES];
    const QByteArray bytes = pin.toUtf8();
    if (sodium_init() < 0 ||
        crypto_pwhash_str(out, bytes.constData(), std::size_t(bytes.size()), crypto_pwhash_OPSLIMIT_MIN,
                          crypto_pwhash_MEMLIMIT_MIN) != 0)
        return {};
    return QByteArray(out);
}
