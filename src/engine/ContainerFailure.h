#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quarn {

// The causes a container message gives after "Unable to <verb> file '<name>': ".
inline constexpr std::string_view InUseText = "The file may be in use by another program.";
inline constexpr std::string_view NotRegularText = "It is not a regular file.";
inline constexpr std::string_view CreateFailedText = "The disc may be full or write protected.";
inline constexpr std::string_view DiscFullText = "The disc may be full.";
inline constexpr std::string_view NotValidText = "Not a valid Quarn! file.";
inline constexpr std::string_view InvalidPasswordText = "Invalid password.";
inline constexpr std::string_view CorruptText = "The file is corrupt.";
inline constexpr std::string_view TooLargeText = "Files of 2 GB or more cannot be encrypted.";
inline constexpr std::string_view UnstorablePasswordText =
    "The password holds a character that cannot be stored in an encrypted file.";
inline constexpr std::string_view UnstorableNameText =
    "The file name cannot be stored in an encrypted file.";

// One failure of a per-file procedure; what() is the cause of its one message.
class ContainerFailure : public std::runtime_error {
public:
    explicit ContainerFailure(std::string_view cause) : std::runtime_error(std::string(cause)) {}
};

// The failure for a system error: the disc-full text for ENOSPC and EDQUOT, else the
// system's reason.
ContainerFailure IoFailure(int error);

} // namespace quarn
