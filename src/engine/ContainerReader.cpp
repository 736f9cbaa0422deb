#include "cipher/Rijndael.h"
#include "engine/Container.h"
#include "engine/ContainerFormat.h"
#include "engine/ContainerJob.h"
#include "engine/ContainerOutput.h"
#include "engine/ContainerSource.h"
#include "engine/FileFailure.h"

#include <algorithm>
#include <cstring>

namespace quarn {
namespace {

struct StoredHeader {
    std::string name;
    std::size_t dataStart = 0; // index of the first content byte in the first chunk
};

FileFailure Corrupt() {
    return {FailureKind::Corrupt};
}

// The first chunk, decrypted: password up to the first separator at index 1 or later (the
// whole chunk when there is none), then the name up to the next one (at least one byte).
StepFailure ParseHeader(const std::uint8_t* chunk, std::size_t count, const std::string& password,
                        StoredHeader& header) {
    const std::uint8_t* end = chunk + count;
    const std::uint8_t* first = std::find(chunk + 1, end, ContainerSeparator);
    if (static_cast<std::size_t>(first - chunk) != password.size() ||
        std::memcmp(chunk, password.data(), password.size()) != 0) {
        return FileFailure{FailureKind::InvalidPassword};
    }
    if (end - first < 2) {
        return Corrupt();
    }
    const std::uint8_t* second = std::find(first + 2, end, ContainerSeparator);
    if (second == end) {
        return Corrupt();
    }
    header = {std::string(first + 1, second), static_cast<std::size_t>(second + 1 - chunk)};
    if (!IsStorableName(header.name)) {
        return Corrupt();
    }
    return std::nullopt;
}

// Reads and decrypts the next count bytes (a whole number of blocks) into the buffer.
StepFailure DecryptChunk(TRijndael& cipher, ContainerSource& source, std::size_t count) {
    std::size_t got = 0;
    if (auto failure = source.Read(cipher.Buffer.data(), count, got)) {
        return failure;
    }
    if (got != count) {
        return Corrupt(); // shorter than it was when opened
    }
    cipher.DecryptBuffer(static_cast<int>(count));
    return std::nullopt;
}

// The end of the contents in the last chunk, whose data begins at start.
StepFailure FindContentEnd(const TRijndael& cipher, std::size_t start, std::size_t count,
                           std::size_t& end) {
    const auto padding = PaddingLength(cipher.Buffer.data() + start, count - start);
    if (!padding) {
        return Corrupt();
    }
    end = count - *padding;
    return std::nullopt;
}

std::size_t ChunkAt(std::int64_t position, std::int64_t size) {
    return static_cast<std::size_t>(std::min<std::int64_t>(TRijndael::ChunkSize, size - position));
}

// The chunks after the first; answers with cancelled set when the cancel flag stopped it.
StepFailure DecryptChunks(TRijndael& cipher, ContainerSource& source, ContainerOutput& output,
                          ContainerJob& job, std::int64_t processed, bool& cancelled) {
    const std::int64_t size = source.Size();
    while (processed < size) {
        if (job.CancelRequested()) {
            cancelled = true;
            return std::nullopt;
        }
        const std::size_t count = ChunkAt(processed, size);
        if (auto failure = DecryptChunk(cipher, source, count)) {
            return failure;
        }
        processed += static_cast<std::int64_t>(count);
        std::size_t end = count;
        if (processed == size) {
            if (auto failure = FindContentEnd(cipher, 0, count, end)) {
                return failure;
            }
        }
        if (auto failure = output.Write(cipher.Buffer.data(), end)) {
            return failure;
        }
        job.ShowProgress(processed, size);
    }
    cancelled = job.CancelRequested();
    return std::nullopt;
}

// A container that grew while it was read is not the one whose end was decrypted.
StepFailure CheckAtEnd(ContainerSource& source) {
    std::uint8_t byte = 0;
    std::size_t got = 0;
    if (auto failure = source.Read(&byte, 1, got)) {
        return failure;
    }
    return got == 0 ? std::nullopt : StepFailure(Corrupt());
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

// The data of the first chunk (from dataStart to dataEnd), the chunks after it, then the
// output is named unless a cancel stopped it.
StepFailure DecryptData(TRijndael& cipher, ContainerSource& source, ContainerOutput& output,
                        ContainerJob& job, std::size_t dataStart, std::size_t dataEnd,
                        const ChooseOutputPath& chooseOutputPath) {
    if (auto failure = output.Write(cipher.Buffer.data() + dataStart, dataEnd - dataStart)) {
        return failure;
    }
    const auto first = static_cast<std::int64_t>(ChunkAt(0, source.Size()));
    bool cancelled = false;
    if (auto failure = DecryptChunks(cipher, source, output, job, first, cancelled)) {
        return failure;
    }
    if (cancelled) {
        return std::nullopt;
    }
    if (auto failure = CheckAtEnd(source)) {
        return failure;
    }
    return output.Commit(job, chooseOutputPath);
}

// The steps of one file; result.dataLoopRan and done are set as they are reached.
StepFailure Decrypt(TRijndael& cipher, ContainerJob& job, const std::string& sourcePath,
                    const std::string& outputFolder, const std::string& password,
                    const ChooseOutputPath& chooseOutputPath, ContainerResult& result) {
    ContainerSource source;
    if (auto failure = source.Open(sourcePath)) {
        return failure;
    }
    const std::int64_t size = source.Size();
    if (size < TRijndael::BlockSize) {
        return FileFailure{FailureKind::NotValid};
    }
    if (size % TRijndael::BlockSize != 0) {
        return Corrupt();
    }
    const std::size_t first = ChunkAt(0, size);
    StoredHeader header;
    std::size_t end = first;
    if (auto failure = DecryptChunk(cipher, source, first)) {
        return failure;
    }
    if (auto failure = ParseHeader(cipher.Buffer.data(), first, password, header)) {
        return failure;
    }
    if (static_cast<std::int64_t>(first) == size) {
        if (auto failure = FindContentEnd(cipher, header.dataStart, first, end)) {
            return failure;
        }
    }
    const auto path = chooseOutputPath(JoinFolder(outputFolder, header.name));
    if (!path) {
        return std::nullopt;
    }
    ContainerOutput output;
    if (auto failure = output.Open(*path, source.Permissions())) {
        return failure;
    }
    result.dataLoopRan = true;
    auto failure =
        DecryptData(cipher, source, output, job, header.dataStart, end, chooseOutputPath);
    if (output.Committed()) {
        result.done = true;
        result.outputPath = output.Path();
        result.source = source.Release();
    } else {
        output.Discard(job);
    }
    return failure;
}

} // namespace

ContainerResult ReadContainer(TRijndael& cipher, FileWorkView& view, const std::string& sourcePath,
                              const std::string& outputFolder, const std::string& name,
                              const std::string& password,
                              const ChooseOutputPath& chooseOutputPath) {
    ContainerKeying keying(cipher, password);
    ContainerJob job(view, "decrypt", name);
    ContainerResult result;
    if (const auto failure =
            Decrypt(cipher, job, sourcePath, outputFolder, password, chooseOutputPath, result)) {
        job.Warn(*failure);
    }
    return result;
}

} // namespace quarn
