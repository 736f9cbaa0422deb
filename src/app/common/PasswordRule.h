#pragma once

#include <QString>
#include <cstddef>

class QLineEdit;

namespace quarn {

// The password rule of both programs' password forms. The two entries must match exactly;
// a new password (one that encrypts) has at least 8 characters as a user counts them; and
// no password has more than 255 bytes in UTF-8, the longest key the cipher takes. The
// edits enforce the byte limit while the user types or pastes, so a password the edits
// hold is never too long.

constexpr int MinNewPasswordCharacters = 8;
constexpr int MaxPasswordBytes = 255;

enum class PasswordCheck { Accepted, Mismatch, TooShort };

// The mismatch is tested before the length.
PasswordCheck CheckPassword(const QString& password, const QString& confirm, bool newPassword);

// Shows the message box of a refusal: the mismatch error or the length warning. Nothing for
// Accepted.
void ShowPasswordRefusal(PasswordCheck check);

// Characters as a user counts them: "ä" is one, also when written as "a" and a combining
// mark.
std::size_t CountCharacters(const QString& text);

// The longest start of text that is at most maxBytes long in UTF-8, cut between characters.
QString CutToBytes(const QString& text, std::size_t maxBytes);

// Makes edit a password edit: each character shown as "*", and text typed or pasted past
// MaxPasswordBytes cut at a character boundary (the part that was put in is shortened; the
// text after the cursor stays).
void SetUpPasswordEdit(QLineEdit* edit);

} // namespace quarn
