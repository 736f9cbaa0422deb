#pragma once

#include <QByteArray>
#include <memory>
#include <optional>
#include <string>

struct chmFile;

namespace quarn::htmlhelp {

// One open compiled help file (chmlib), read by object path ("/index.htm").
class ChmArchive {
public:
    // Nothing when the file is missing or not a compiled help file.
    static std::unique_ptr<ChmArchive> Open(const std::string& path);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    bool Contains(const std::string& objectPath) const;
    std::optional<QByteArray> Read(const std::string& objectPath) const;

    // From the file's #SYSTEM data; the default topic falls back to "index.htm".
    const std::string& Title() const { return title_; }
    const std::string& DefaultTopic() const { return defaultTopic_; }
    const std::string& ContentsFile() const { return contentsFile_; } // "" when none

private:
    explicit ChmArchive(chmFile* file);
    void ReadSystemData();

    chmFile* file_;
    std::string title_;
    std::string defaultTopic_ = "index.htm";
    std::string contentsFile_;
};

} // namespace quarn::htmlhelp
