#include "platform/VersionInfo.h"

#include "platform/PosixFile.h"

#include <array>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarn {

namespace {

constexpr std::uint32_t SectionNoBits = 8; // SHT_NOBITS: no bytes in the file
constexpr std::uint16_t ExtendedIndex = 0xFFFF;

// Bounded reads of one ELF file in its own byte order and word size.
class ElfReader {
public:
    explicit ElfReader(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat st {};
        if (fd_ && fstat(fd_.Get(), &st) == 0 && S_ISREG(st.st_mode)) {
            size_ = static_cast<std::uint64_t>(st.st_size);
        }
    }

    // Reads the identification bytes; false for anything that is not ELF.
    bool ReadIdentification() {
        std::array<std::uint8_t, 16> ident{};
        if (!Read(0, ident.data(), ident.size()) || std::memcmp(ident.data(),
                                                                "\x7F"
                                                                "ELF",
                                                                4) != 0) {
            return false;
        }
        wide_ = ident[4] == 2;
        bigEndian_ = ident[5] == 2;
        return (ident[4] == 1 || ident[4] == 2) && (ident[5] == 1 || ident[5] == 2);
    }

    bool Wide() const { return wide_; }

    bool Read(std::uint64_t offset, void* buffer, std::size_t count) const {
        if (offset > size_ || count > size_ - offset) {
            return false;
        }
        return pread(fd_.Get(), buffer, count, static_cast<off_t>(offset)) ==
               static_cast<ssize_t>(count);
    }

    // An unsigned field of the given width (2, 4 or 8 bytes) at offset.
    std::optional<std::uint64_t> Field(std::uint64_t offset, std::size_t width) const {
        std::array<std::uint8_t, 8> bytes{};
        if (!Read(offset, bytes.data(), width)) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t index = bigEndian_ ? i : width - 1 - i;
            value = value << 8 | bytes[index];
        }
        return value;
    }

    std::uint32_t Word(const std::uint8_t* bytes) const {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = value << 8 | bytes[bigEndian_ ? i : 3 - i];
        }
        return value;
    }

private:
    UniqueFd fd_;
    std::uint64_t size_ = 0;
    bool wide_ = false;
    bool bigEndian_ = false;
};

struct SectionHeader {
    std::uint64_t name = 0;
    std::uint64_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t link = 0;
};

// The layout of the file header and of one section header for 32- and 64-bit files.
struct ElfLayout {
    std::uint64_t sectionTable, entrySize, sectionCount, namesIndex;
    std::size_t address;
    std::uint64_t offsetField, sizeField, linkField;
};
constexpr ElfLayout Elf32{32, 46, 48, 50, 4, 16, 20, 24};
constexpr ElfLayout Elf64{40, 58, 60, 62, 8, 24, 32, 40};

class SectionTable {
public:
    explicit SectionTable(const ElfReader& elf) : elf_(elf), layout_(elf.Wide() ? Elf64 : Elf32) {}

    bool Load() {
        const auto table = elf_.Field(layout_.sectionTable, layout_.address);
        const auto entrySize = elf_.Field(layout_.entrySize, 2);
        const auto count = elf_.Field(layout_.sectionCount, 2);
        const auto names = elf_.Field(layout_.namesIndex, 2);
        if (!table || !entrySize || !count || !names || *table == 0 ||
            *entrySize < layout_.linkField + 4) {
            return false;
        }
        table_ = *table;
        entrySize_ = *entrySize;
        count_ = *count;
        std::uint64_t namesIndex = *names;
        if (count_ == 0 || namesIndex == ExtendedIndex) {
            const auto first = Header(0, 1);
            if (!first) {
                return false;
            }
            count_ = count_ == 0 ? first->size : count_;
            namesIndex = namesIndex == ExtendedIndex ? first->link : namesIndex;
        }
        const auto namesHeader = Header(namesIndex, count_);
        if (!namesHeader || namesHeader->type == SectionNoBits) {
            return false;
        }
        names_ = *namesHeader;
        return true;
    }

    std::uint64_t Count() const { return count_; }

    std::optional<SectionHeader> Header(std::uint64_t index, std::uint64_t count) const {
        if (index >= count) {
            return std::nullopt;
        }
        std::uint64_t at = 0;
        if (__builtin_mul_overflow(index, entrySize_, &at) ||
            __builtin_add_overflow(at, table_, &at)) {
            return std::nullopt;
        }
        const auto name = elf_.Field(at, 4);
        const auto type = elf_.Field(at + 4, 4);
        const auto offset = elf_.Field(at + layout_.offsetField, layout_.address);
        const auto size = elf_.Field(at + layout_.sizeField, layout_.address);
        const auto link = elf_.Field(at + layout_.linkField, 4);
        if (!name || !type || !offset || !size || !link) {
            return std::nullopt;
        }
        return SectionHeader{*name, *type, *offset, *size, *link};
    }

    bool NameIs(const SectionHeader& section, const char* wanted) const {
        const std::size_t length = std::strlen(wanted) + 1; // with its terminating zero
        if (section.name > names_.size || length > names_.size - section.name) {
            return false;
        }
        std::vector<char> name(length);
        return elf_.Read(names_.offset + section.name, name.data(), length) &&
               std::memcmp(name.data(), wanted, length) == 0;
    }

private:
    const ElfReader& elf_;
    ElfLayout layout_;
    std::uint64_t table_ = 0;
    std::uint64_t entrySize_ = 0;
    std::uint64_t count_ = 0;
    SectionHeader names_;
};

std::optional<FixedFileInfo> ParseRecord(const ElfReader& elf, const SectionHeader& section) {
    std::array<std::uint8_t, FixedFileInfoSize> bytes{};
    if (section.type == SectionNoBits || section.size < bytes.size() ||
        !elf.Read(section.offset, bytes.data(), bytes.size())) {
        return std::nullopt;
    }
    std::array<std::uint32_t, FixedFileInfoSize / 4> words{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = elf.Word(bytes.data() + 4 * i);
    }
    if (words[0] != FixedFileInfoSignature) {
        return std::nullopt;
    }
    return FixedFileInfo{words[0], words[1], words[2], words[3],  words[4],  words[5], words[6],
                         words[7], words[8], words[9], words[10], words[11], words[12]};
}

} // namespace

std::optional<FixedFileInfo> ReadFixedFileInfo(const std::string& path) {
    ElfReader elf(path);
    if (!elf.ReadIdentification()) {
        return std::nullopt;
    }
    SectionTable sections(elf); // its layout follows the word size just read
    if (!sections.Load()) {
        return std::nullopt;
    }
    for (std::uint64_t i = 1; i < sections.Count(); ++i) {
        const auto section = sections.Header(i, sections.Count());
        if (!section) {
            return std::nullopt;
        }
        if (sections.NameIs(*section, VersionSectionName)) {
            return ParseRecord(elf, *section);
        }
    }
    return std::nullopt;
}

} // namespace quarn
