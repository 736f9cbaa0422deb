#pragma once

#include "platform/VersionInfo.h"

#include <QObject>
#include <cstdint>
#include <string>

namespace quarn {

// Reads the fixed version block of a program or library file: its four numbers and
// Version, the numbers in decimal joined by Separator.
class TKVBVersion : public QObject {
public:
    // The numbers start at 0, Separator and Version empty.
    explicit TKVBVersion(QObject* owner = nullptr);

    const std::string& FileName() const { return fileName_; }
    // "" clears FileName and Version (the numbers stay); a name that is no existing file
    // changes nothing; otherwise the file's block is read, and a file without one reads as
    // all zero with an empty Version.
    void SetFileName(const std::string& value);

    const std::string& Separator() const { return separator_; }
    // Rebuilds Version from the current numbers.
    void SetSeparator(const std::string& value);

    const std::string& Version() const { return version_; }
    std::uint16_t Major() const { return major_; }
    std::uint16_t Minor() const { return minor_; }
    std::uint16_t Release() const { return release_; }
    std::uint16_t Build() const { return build_; }

private:
    // Fills fixedInfo_; false (and an all-zero record) when the file has no block.
    bool ReadFixedInfo(const std::string& path);
    void ApplyFixedInfo();
    void BuildVersion();

    std::string fileName_;
    std::string separator_;
    std::string version_;
    FixedFileInfo fixedInfo_;
    std::uint16_t major_ = 0;
    std::uint16_t minor_ = 0;
    std::uint16_t release_ = 0;
    std::uint16_t build_ = 0;
};

} // namespace quarn
