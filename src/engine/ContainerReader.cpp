#include "cipher/Rijndael.h"
#include "engine/Container.h"
#include "engine/ContainerFailure.h"
#include "engine/ContainerFormat.h"
#include "engine/ContainerJob.h"
#include "engine/ContainerOutput.h"
#include "engine/ContainerSource.h"

#include <algorithm>
#include <cstring>

namespace quarn {
namespace {

struct StoredHeader {
    std::string name;
    std::size_t dataStart = 0; // index of the first content byte in the first chunk
};

// The first chunk, decrypted: password up to the first separator at index 1 or later (the
// whole chunk when there is none), then the name up to the next one (at least one byte).
StoredHeader ParseHeader(const std::uint8_t* chunk, std::size_t count,
                         const std::string& password) {
    const std::uint8_t* end = chunk + count;
    const std::uint8_t* first = std::find(chunk + 1, end, ContainerSeparator);
    if (static_cast<std::size_t>(first - chunk) != password.size() ||
        std::memcmp(chunk, password.data(), password.size()) != 0) {
        throw ContainerFailure(InvalidPasswordText);
    }
    if (end - first < 2) {
        throw ContainerFailure(CorruptText);
    }
    const std::uint8_t* second = std::find(first + 2, end, ContainerSeparator);
    if (second == end) {
        throw ContainerFailure(CorruptText);
    }
    StoredHeader header{std::string(first + 1, second),
                        static_cast<std::size_t>(second + 1 - chunk)};
    if (!IsStorableName(header.name)) {
        throw ContainerFailure(CorruptText);
    }
    return header;
}

// Reads and decrypts the next count bytes (a whole number of blocks) into the buffer.
void DecryptChunk(TRijndael& cipher, ContainerSource& source, std::size_t count) {
    if (source.Read(cipher.Buffer.data(), count) != count) {
        throw ContainerFailure(CorruptText); // shorter than it was when opened
    }
    cipher.DecryptBuffer(static_cast<int>(count));
}

// The end of the contents in the last chunk, whose data begins at start.
std::size_t ContentEnd(const TRijndael& cipher, std::size_t start, std::size_t count) {
    const auto padding = PaddingLength(cipher.Buffer.data() + start, count - start);
    if (!padding) {
        throw ContainerFailure(CorruptText);
    }
    return count - *padding;
}

std::size_t ChunkAt(std::int64_t position, std::int64_t size) {
    return static_cast<std::size_t>(std::min<std::int64_t>(TRijndael::ChunkSize, size - position));
}

// The chunks after the first; returns false when cancelled.
bool DecryptChunks(TRijndael& cipher, ContainerSource& source, ContainerOutput& output,
                   ContainerJob& job, std::int64_t processed) {
    const std::int64_t size = source.Size();
    while (processed < size) {
        if (job.CancelRequested()) {
            return false;
        }
        const std::size_t count = ChunkAt(processed, size);
        DecryptChunk(cipher, source, count);
        processed += static_cast<std::int64_t>(count);
        const std::size_t end = processed == size ? ContentEnd(cipher, 0, count) : count;
        output.Write(cipher.Buffer.data(), end);
        job.ShowProgress(processed, size);
    }
    return true;
}

// A container that grew while it was read is not the one whose end was decrypted.
void CheckAtEnd(ContainerSource& source) {
    std::uint8_t byte = 0;
    if (source.Read(&byte, 1) != 0) {
        throw ContainerFailure(CorruptText);
    }
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

} // namespace

ContainerResult ReadContainer(TRijndael& cipher, FileWorkView& view, const std::string& sourcePath,
                              const std::string& outputFolder, const std::string& name,
                              const std::string& password,
                              const ChooseOutputPath& chooseOutputPath) {
    ContainerKeying keying(cipher, password);
    ContainerJob job(view, "decrypt", name);
    ContainerResult result;
    try {
        ContainerSource source(sourcePath);
        const std::int64_t size = source.Size();
        if (size < TRijndael::BlockSize) {
            throw ContainerFailure(NotValidText);
        }
        if (size % TRijndael::BlockSize != 0) {
            throw ContainerFailure(CorruptText);
        }
        const std::size_t first = ChunkAt(0, size);
        const bool onlyChunk = static_cast<std::int64_t>(first) == size;
        DecryptChunk(cipher, source, first);
        const StoredHeader header = ParseHeader(cipher.Buffer.data(), first, password);
        const std::size_t end = onlyChunk ? ContentEnd(cipher, header.dataStart, first) : first;
        const auto path = chooseOutputPath(JoinFolder(outputFolder, header.name));
        if (!path) {
            return result;
        }
        result.outputPath = *path;
        ContainerOutput output(*path, source.Permissions());
        result.dataLoopRan = true;
        output.Write(cipher.Buffer.data() + header.dataStart, end - header.dataStart);
        if (!DecryptChunks(cipher, source, output, job, static_cast<std::int64_t>(first)) ||
            job.CancelRequested()) {
            return result;
        }
        CheckAtEnd(source);
        output.Commit();
        result.done = true;
    } catch (const ContainerFailure& failure) {
        job.Warn(failure.what());
    }
    return result;
}

} // namespace quarn
