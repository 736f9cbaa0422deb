#include "platform/htmlhelp/ChmArchive.h"

#include <chm_lib.h>
#include <cstdint>

namespace quarn::htmlhelp {

namespace {
// Record codes of the #SYSTEM object.
constexpr std::uint16_t ContentsFileCode = 0;
constexpr std::uint16_t DefaultTopicCode = 2;
constexpr std::uint16_t TitleCode = 3;
// Pages and pictures of a help file are small; anything larger is not one of ours.
constexpr LONGUINT64 MaxObjectSize = 64 * 1024 * 1024;

std::uint16_t Word16(const QByteArray& data, qsizetype at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(data[at]) |
                                      static_cast<std::uint8_t>(data[at + 1]) << 8);
}

// A record's text up to its terminating zero.
std::string RecordText(const QByteArray& data, qsizetype at, qsizetype length) {
    const QByteArray record = data.mid(at, length);
    const qsizetype end = record.indexOf('\0');
    return (end < 0 ? record : record.left(end)).toStdString();
}
} // namespace

std::unique_ptr<ChmArchive> ChmArchive::Open(const std::string& path) {
    chmFile* file = chm_open(path.c_str());
    if (file == nullptr) {
        return nullptr;
    }
    std::unique_ptr<ChmArchive> archive(new ChmArchive(file));
    archive->ReadSystemData();
    return archive;
}

ChmArchive::ChmArchive(chmFile* file) : file_(file) {
}

ChmArchive::~ChmArchive() {
    chm_close(file_);
}

bool ChmArchive::Contains(const std::string& objectPath) const {
    chmUnitInfo unit{};
    return chm_resolve_object(file_, objectPath.c_str(), &unit) == CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> ChmArchive::Read(const std::string& objectPath) const {
    chmUnitInfo unit{};
    if (chm_resolve_object(file_, objectPath.c_str(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.length > MaxObjectSize) {
        return std::nullopt;
    }
    QByteArray data(static_cast<qsizetype>(unit.length), '\0');
    const LONGINT64 length = static_cast<LONGINT64>(unit.length);
    if (length > 0 &&
        chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(data.data()), 0,
                            length) != length) {
        return std::nullopt;
    }
    return data;
}

// #SYSTEM: a 4-byte version, then records of a 16-bit code, a 16-bit length and the data.
void ChmArchive::ReadSystemData() {
    const auto data = Read("/#SYSTEM");
    if (!data) {
        return;
    }
    for (qsizetype at = 4; at + 4 <= data->size();) {
        const std::uint16_t code = Word16(*data, at);
        const qsizetype length = Word16(*data, at + 2);
        at += 4;
        if (at + length > data->size()) {
            break;
        }
        const std::string text = RecordText(*data, at, length);
        if (code == ContentsFileCode) {
            contentsFile_ = text;
        } else if (code == DefaultTopicCode && !text.empty()) {
            defaultTopic_ = text;
        } else if (code == TitleCode) {
            title_ = text;
        }
        at += length;
    }
}

} // namespace quarn::htmlhelp
