// Container write and read of a 256 MiB file, flush included, beside the least a program can
// do for the same job: read the file in 4096-byte chunks, AES-256-CBC them with libcrypto's
// EVP, write them out and fsync.
#include "cipher/Rijndael.h"
#include "engine/Container.h"
#include "engine/FileWorkView.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <openssl/evp.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t FileBytes = std::int64_t{256} << 20;
constexpr std::size_t Chunk = quarn::TRijndael::ChunkSize;
const std::string Password = "benchmark password";

class NoMessages : public quarn::MessageService {
public:
    quarn::MessageAnswer Show(quarn::MessageKind, const std::string& text,
                              quarn::MessageButtons) override {
        throw std::runtime_error(text);
    }
    std::optional<std::string> AskSaveFile(const quarn::SaveDialogRequest&) override {
        return std::nullopt;
    }
};

class BenchView : public quarn::FileWorkView {
public:
    quarn::MessageService& Messages() override { return messages_; }
    void ProcessMessages() override {}
    bool CancelRequested() const override { return false; }
    void SetFileProgress(int) override {}

private:
    NoMessages messages_;
};

// Nothing else writes into the benchmark's folder: a taken output name never comes.
std::optional<std::string> NoClash(const std::string&) {
    return std::nullopt;
}

// A folder with the 256 MiB source and its container, made once for the whole run.
struct Files {
    Files() {
        std::string pattern = (fs::temp_directory_path() / "quarn-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        folder = pattern + "/";
        quarn::UniqueFd out(::open(Source().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600));
        std::vector<char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = static_cast<char>(i * 131 + i / 4096);
        }
        for (std::int64_t done = 0; done < FileBytes; done += std::ssize(block)) {
            quarn::WriteAll(out.Get(), block.data(), block.size());
        }
        quarn::TRijndael cipher;
        BenchView view;
        quarn::WriteContainer(cipher, view, Source(), Container(), "source.bin", Password, NoClash);
    }
    ~Files() { fs::remove_all(folder); }
    std::string Source() const { return folder + "source.bin"; }
    std::string Container() const { return folder + "source.zot!"; }
    std::string Output() const { return folder + "output"; }

    std::string folder;
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

void Finish(benchmark::State& state, const Files& files) {
    state.PauseTiming();
    fs::remove(files.Output());
    state.ResumeTiming();
}

void BM_ContainerWrite(benchmark::State& state) {
    const Files& files = TheFiles();
    quarn::TRijndael cipher;
    BenchView view;
    for (auto _ : state) {
        if (!quarn::WriteContainer(cipher, view, files.Source(), files.Output(), "source.bin",
                                   Password, NoClash)
                 .done) {
            state.SkipWithError("write failed");
        }
        Finish(state, files);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes);
}

void BM_ContainerRead(benchmark::State& state) {
    const Files& files = TheFiles();
    quarn::TRijndael cipher;
    BenchView view;
    const auto output = [&](const std::string&) { return std::optional(files.Output()); };
    for (auto _ : state) {
        if (!quarn::ReadContainer(cipher, view, files.Container(), files.folder, "source.zot!",
                                  Password, output)
                 .done) {
            state.SkipWithError("read failed");
        }
        Finish(state, files);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes);
}

// The baseline: the same reads, EVP over the same chunks as one stream, the same writes and
// the flush.
void BM_EvpFileEncrypt(benchmark::State& state) {
    const Files& files = TheFiles();
    const unsigned char key[32] = {1, 2, 3};
    const unsigned char iv[16] = {4, 5, 6};
    std::vector<unsigned char> in(Chunk), out(Chunk + 16);
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    for (auto _ : state) {
        EVP_EncryptInit_ex(context, EVP_aes_256_cbc(), nullptr, key, iv);
        quarn::UniqueFd source(::open(files.Source().c_str(), O_RDONLY | O_CLOEXEC));
        quarn::UniqueFd output(
            ::open(files.Output().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        ssize_t got = 0;
        int written = 0;
        while ((got = quarn::ReadFull(source.Get(), in.data(), Chunk)) > 0) {
            EVP_EncryptUpdate(context, out.data(), &written, in.data(), static_cast<int>(got));
            quarn::WriteAll(output.Get(), out.data(), static_cast<std::size_t>(written));
        }
        EVP_EncryptFinal_ex(context, out.data(), &written);
        quarn::WriteAll(output.Get(), out.data(), static_cast<std::size_t>(written));
        ::fsync(output.Get());
        output.Close();
        Finish(state, files);
    }
    EVP_CIPHER_CTX_free(context);
    state.SetBytesProcessed(state.iterations() * FileBytes);
}

BENCHMARK(BM_EvpFileEncrypt)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_ContainerWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_ContainerRead)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace
