#pragma once

#include <QByteArray>
#include <QString>

/// The disarm PIN. It is kept only as an Argon2id hash string (libsodium's crypto_pwhash_str
/// with its interactive limits), never in clear.
namespace Pin {
inline constexpr int MinLength = 4;
inline constexpr int MaxLength = 32;

bool acceptableLength(const QString& pin);
/// The hash string of a new PIN; empty when hashing failed (out of memory).
QByteArray hash(const QString& pin);

enum class Check { Right, Wrong, Damaged };
/// Whether the PIN is the one the hash string was made from; Damaged when the string is no
/// Argon2id hash at all, which no PIN can match.
Check verify(const QByteArray& hashString, const QString& pin);
/// A right hash string made with weaker limits than today's: worth hashing the PIN again.
bool needsRehash(const QByteArray& hashString);
} // namespace Pin
