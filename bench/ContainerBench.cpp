// QuarnCLU's encrypt and decrypt loops on a 384 MiB file, in a shown window that processes its
// events for real, beside openssl enc doing the same job: the output flushed to the disc and
// the source removed.
#include "Anchors.h"
#include "BenchFiles.h"
#include "BenchWindow.h"
#include "SideBySide.h"
#include "cipher/Rijndael.h"
#include "engine/Container.h"
#include "engine/EngineOptions.h"
#include "engine/FileCommands.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

using namespace quarn::bench;

constexpr std::int64_t FileBytes = std::int64_t{384} << 20;
const std::string Password = "benchmark password";

// The container's key and IV, folded as the cipher folds them, for openssl.
std::array<std::uint8_t, 32> ContainerKey() {
    std::array<std::uint8_t, 32> key{};
    for (std::size_t i = 0; i < Password.size(); ++i) {
        key[i % 32] ^= static_cast<std::uint8_t>(Password[i]);
    }
    return key;
}
std::array<std::uint8_t, 16> ContainerIV() {
    std::array<std::uint8_t, 16> iv{};
    for (std::size_t i = 0; i < quarn::ContainerIVSeed.size(); ++i) {
        iv[i & 15] ^= static_cast<std::uint8_t>(quarn::ContainerIVSeed[i]);
    }
    return iv;
}

void ExpectFile(const std::string& path, bool there) {
    if ((::access(path.c_str(), F_OK) == 0) != there) {
        throw std::runtime_error(path + (there ? " is missing" : " was not removed"));
    }
}

// The plain file and its container, made once for the whole run.
struct Originals {
    Originals() {
        WritePatternFile(folder / "plain", FileBytes);
        CopyFlushed(folder / "plain", folder / "source.bin");
        quarn::TRijndael cipher;
        BenchWindow window;
        quarn::EncryptFiles(window, cipher, Options(), {folder / "source.bin"}, folder.Path(),
                            Password);
        ExpectFile(Container(), true);
    }
    static quarn::EngineOptions Options() {
        quarn::EngineOptions options;
        options.EncryptName = false;
        options.AppendExtension = true;
        options.DeleteOriginal = true;
        return options;
    }
    std::string Plain() const { return folder / "plain"; }
    std::string Container() const { return folder / "source.bin.zot!"; }

    BenchFolder folder;
};

const Originals& TheOriginals() {
    static const Originals originals;
    return originals;
}

// Encrypt with "delete the original" on: source.bin becomes source.bin.zot!.
void BM_Encrypt(benchmark::State& state) {
    const Originals& originals = TheOriginals();
    BenchFolder work;
    BenchWindow window;
    quarn::TRijndael cipher;
    const std::string source = work / "source.bin";
    const std::string output = work / "source.bin.zot!";
    const Contender program{[&] { CopyFlushed(originals.Plain(), source); },
                            [&] {
                                quarn::EncryptFiles(window, cipher, Originals::Options(), {source},
                                                    work.Path(), Password);
                            },
                            [&] {
                                ExpectFile(source, false);
                                ExpectFile(output, true);
                                RemoveIfThere(output);
                            }};
    const Contender anchor{[&] { CopyFlushed(originals.Plain(), source); },
                           [&] {
                               OpensslEnc(false, ContainerKey(), ContainerIV(), source, output);
                               FlushFile(output);
                               RemoveIfThere(source);
                           },
                           [&] { RemoveIfThere(output); }};
    RunSideBySide(state, window, program, anchor);
    state.SetBytesProcessed(state.iterations() * FileBytes);
}

// Decrypt: source.bin.zot! becomes source.bin, its stored name.
void BM_Decrypt(benchmark::State& state) {
    const Originals& originals = TheOriginals();
    BenchFolder work;
    BenchWindow window;
    quarn::TRijndael cipher;
    const std::string source = work / "source.bin.zot!";
    const std::string output = work / "source.bin";
    const Contender program{[&] { CopyFlushed(originals.Container(), source); },
                            [&] {
                                quarn::DecryptFiles(window, cipher, Originals::Options(), {source},
                                                    work.Path(), Password);
                            },
                            [&] {
                                ExpectFile(source, false);
                                ExpectFile(output, true);
                                RemoveIfThere(output);
                            }};
    const Contender anchor{[&] { CopyFlushed(originals.Container(), source); },
                           [&] {
                               OpensslEnc(true, ContainerKey(), ContainerIV(), source, output);
                               FlushFile(output);
                               RemoveIfThere(source);
                           },
                           [&] { RemoveIfThere(output); }};
    RunSideBySide(state, window, program, anchor);
    state.SetBytesProcessed(state.iterations() * FileBytes);
}

} // namespace

BENCHMARK(BM_Encrypt)->Apply(SideBySideSettings);
BENCHMARK(BM_Decrypt)->Apply(SideBySideSettings);
