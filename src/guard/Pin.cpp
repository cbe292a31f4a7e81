#include "Pin.h"

#include <sodium.h>

#include <algorithm>
#include <array>

namespace {
constexpr auto OpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr auto MemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;

bool ready()
{
    static const bool initialised = sodium_init() >= 0;
    return initialised;
}

/// libsodium reads a hash string as a C string of fewer than crypto_pwhash_STRBYTES bytes.
using HashBuffer = std::array<char, crypto_pwhash_STRBYTES>;
bool toBuffer(const QByteArray& hashString, HashBuffer& buffer)
{
    buffer.fill(0);
    if (hashString.size() >= qsizetype(buffer.size()) || hashString.contains('\0'))
        return false;
    std::copy(hashString.begin(), hashString.end(), buffer.begin());
    return true;
}
} // namespace

namespace Pin {
bool acceptableLength(const QString& pin)
{
    return pin.size() >= MinLength && pin.size() <= MaxLength;
}

QByteArray hash(const QString& pin)
{
    HashBuffer out{};
    const QByteArray bytes = pin.toUtf8();
    if (!ready() ||
        crypto_pwhash_str(out.data(), bytes.constData(), std::size_t(bytes.size()), OpsLimit, MemLimit) != 0)
        return {};
    return QByteArray(out.data());
}

Check verify(const QByteArray& hashString, const QString& pin)
{
    HashBuffer buffer;
    // needs_rehash answers -1 for any string that is not an Argon2id hash.
    if (!ready() || !toBuffer(hashString, buffer) ||
        crypto_pwhash_str_needs_rehash(buffer.data(), OpsLimit, MemLimit) < 0)
        return Check::Damaged;
    const QByteArray bytes = pin.toUtf8();
    return crypto_pwhash_str_verify(buffer.data(), bytes.constData(), std::size_t(bytes.size())) == 0
               ? Check::Right
               : Check::Wrong;
}

bool needsRehash(const QByteArray& hashString)
{
    HashBuffer buffer;
    return ready() && toBuffer(hashString, buffer) &&
           crypto_pwhash_str_needs_rehash(buffer.data(), OpsLimit, MemLimit) == 1;
}
} // namespace Pin
