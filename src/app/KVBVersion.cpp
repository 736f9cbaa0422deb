#include "app/KVBVersion.h"

#include "platform/PosixFile.h"

namespace quarn {

TKVBVersion::TKVBVersion(QObject* owner) : QObject(owner) {
}

void TKVBVersion::SetFileName(const std::string& value) {
    if (value.empty()) {
        fileName_.clear();
        version_.clear();
        return;
    }
    if (!IsRegularFile(value)) {
        return;
    }
    fileName_ = value;
    if (ReadFixedInfo(value)) {
        ApplyFixedInfo();
    } else {
        major_ = minor_ = release_ = build_ = 0;
        version_.clear();
    }
}

void TKVBVersion::SetSeparator(const std::string& value) {
    separator_ = value;
    BuildVersion();
}

bool TKVBVersion::ReadFixedInfo(const std::string& path) {
    const auto info = ReadFixedFileInfo(path);
    fixedInfo_ = info.value_or(FixedFileInfo{});
    return info.has_value();
}

void TKVBVersion::ApplyFixedInfo() {
    major_ = static_cast<std::uint16_t>(fixedInfo_.fileVersionMS >> 16);
    minor_ = static_cast<std::uint16_t>(fixedInfo_.fileVersionMS & 0xFFFF);
    release_ = static_cast<std::uint16_t>(fixedInfo_.fileVersionLS >> 16);
    build_ = static_cast<std::uint16_t>(fixedInfo_.fileVersionLS & 0xFFFF);
    BuildVersion();
}

void TKVBVersion::BuildVersion() {
    version_ = std::to_string(major_) + separator_ + std::to_string(minor_) + separator_ +
               std::to_string(release_) + separator_ + std::to_string(build_);
}

} // namespace quarn
