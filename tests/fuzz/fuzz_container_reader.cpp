// The container reader on arbitrary files. Every input ends in one warning of the reader or in
// one decrypted file inside the output folder: never a crash, a hang or a file elsewhere.
//
// Input: the first byte picks the form of the rest. Odd: the rest is plain text, sealed with
// the password as the writer would (whole blocks; a trailing part block is appended as it
// is), so that the fuzzer reaches the header, name and padding checks. Even: the rest is the
// file as it stands.
#include "cipher/Rijndael.h"
#include "engine/Container.h"
#include "engine/FileWorkView.h"
#include "platform/MessageService.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string Password = "password";
const std::string Prefix = "Unable to decrypt file 'in.zot!': ";

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class RecordedMessages : public quarn::MessageService {
public:
    quarn::MessageAnswer Show(quarn::MessageKind kind, const std::string& text,
                              quarn::MessageButtons buttons) override {
        Check(kind == quarn::MessageKind::Warning && buttons == quarn::MessageButtons::Ok);
        texts.push_back(text);
        return quarn::MessageAnswer::Ok;
    }
    std::optional<std::string> AskSaveFile(const quarn::SaveDialogRequest&) override {
        Check(false);
        return std::nullopt;
    }
    std::vector<std::string> texts;
};

class QuietView : public quarn::FileWorkView {
public:
    quarn::MessageService& Messages() override { return messages; }
    void ProcessMessages() override {}
    bool CancelRequested() const override { return false; }
    void SetFileProgress(int percent) override { Check(percent >= 0 && percent <= 100); }
    RecordedMessages messages;
};

std::string Seal(std::string bytes) {
    static quarn::TRijndael sealer;
    sealer.CipherMode = quarn::CBC;
    sealer.KeySize = quarn::Large256;
    sealer.SetIV(quarn::ContainerIVSeed);
    sealer.SetKey(Password);
    const std::size_t whole = bytes.size() / 16 * 16;
    for (std::size_t at = 0; at < whole; at += quarn::TRijndael::ChunkSize) {
        const std::size_t count = std::min<std::size_t>(quarn::TRijndael::ChunkSize, whole - at);
        std::memcpy(sealer.Buffer.data(), bytes.data() + at, count);
        sealer.EncryptBuffer(static_cast<int>(count));
        std::memcpy(bytes.data() + at, sealer.Buffer.data(), count);
    }
    sealer.Reset();
    return bytes;
}

const fs::path& Root() {
    static const fs::path root = [] {
        std::string pattern = (fs::temp_directory_path() / "quarn-fuzz-XXXXXX").string();
        Check(mkdtemp(pattern.data()) != nullptr);
        return fs::path(pattern);
    }();
    return root;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

bool AllowedCause(const std::string& text) {
    // A stored name longer than the file system allows cannot be created.
    static const std::set<std::string> causes = {"Not a valid Quarn! file.", "Invalid password.",
                                                 "The file is corrupt.",
                                                 "The disc may be full or write protected."};
    return text.starts_with(Prefix) && causes.count(text.substr(Prefix.size())) == 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        file = Seal(std::move(file));
    }
    const fs::path run = Root() / "run";
    fs::remove_all(run);
    fs::create_directories(run / "out");
    const std::string container = (run / "in.zot!").string();
    std::ofstream(container, std::ios::binary).write(file.data(), std::ssize(file));
    const std::string outFolder = (run / "out").string() + "/";

    static quarn::TRijndael cipher;
    QuietView view;
    int proposals = 0;
    const auto result = quarn::ReadContainer(
        cipher, view, container, outFolder, "in.zot!", Password,
        [&](const std::string& proposed) -> std::optional<std::string> {
            ++proposals;
            Check(proposed.starts_with(outFolder));
            const std::string name = proposed.substr(outFolder.size());
            Check(!name.empty() && name != "." && name != ".." &&
                  name.find_first_of(std::string("/\0", 2)) == std::string::npos);
            return proposed;
        });

    Check(!cipher.KeySet() && !cipher.IVSet());
    Check(Names(run) == std::set<std::string>{"in.zot!", "out"});
    const auto outputs = Names(run / "out");
    if (result.done) {
        Check(view.messages.texts.empty() && proposals == 1);
        Check(outputs.size() == 1 && outFolder + *outputs.begin() == result.outputPath);
        Check(fs::file_size(result.outputPath) < file.size());
    } else {
        Check(view.messages.texts.size() == 1 && AllowedCause(view.messages.texts[0]));
        Check(outputs.empty());
    }
    return 0;
}
