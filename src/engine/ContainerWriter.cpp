#include "cipher/Rijndael.h"
#include "engine/Container.h"
#include "engine/ContainerFailure.h"
#include "engine/ContainerFormat.h"
#include "engine/ContainerJob.h"
#include "engine/ContainerOutput.h"
#include "engine/ContainerSource.h"

#include <cstring>

namespace quarn {
namespace {

void CheckStorable(const std::string& name, const std::string& password) {
    if (!IsStorablePassword(password)) {
        throw ContainerFailure(UnstorablePasswordText);
    }
    if (!IsStorableName(name) || password.size() + name.size() + 2 > MaxHeaderLength) {
        throw ContainerFailure(UnstorableNameText);
    }
}

// Password, separator, name, separator at the start of the buffer; returns their length.
std::size_t PutHeader(std::uint8_t* buffer, const std::string& password, const std::string& name) {
    std::memcpy(buffer, password.data(), password.size());
    std::size_t length = password.size();
    buffer[length++] = ContainerSeparator;
    std::memcpy(buffer + length, name.data(), name.size());
    length += name.size();
    buffer[length++] = ContainerSeparator;
    return length;
}

// One CBC stream over header, contents and padding, 4096 plain bytes a chunk (the first
// holds the header). The end is where a read comes back short; a source that ends exactly
// on a chunk gets a last chunk of padding only. Returns false when cancelled.
bool EncryptChunks(TRijndael& cipher, ContainerSource& source, ContainerOutput& output,
                   ContainerJob& job, std::size_t headerLength) {
    std::uint8_t* buffer = cipher.Buffer.data();
    std::size_t offset = headerLength;
    std::int64_t processed = 0;
    for (bool atEnd = false; !atEnd; offset = 0) {
        if (job.CancelRequested()) {
            return false;
        }
        const std::size_t wanted = TRijndael::ChunkSize - offset;
        const std::size_t got = source.Read(buffer + offset, wanted);
        std::size_t count = offset + got;
        processed += static_cast<std::int64_t>(count);
        atEnd = got < wanted;
        if (atEnd) {
            count = AppendPadding(buffer, count);
        }
        cipher.EncryptBuffer(static_cast<int>(count));
        output.Write(buffer, count);
        job.ShowProgress(processed, source.Size());
    }
    return true;
}

} // namespace

ContainerResult WriteContainer(TRijndael& cipher, FileWorkView& view, const std::string& sourcePath,
                               const std::string& outputPath, const std::string& name,
                               const std::string& password) {
    ContainerKeying keying(cipher, password);
    ContainerJob job(view, "encrypt", name);
    ContainerResult result;
    try {
        CheckStorable(name, password);
        ContainerSource source(sourcePath);
        if (source.Size() == 0) {
            return result;
        }
        if (source.Size() > MaxSourceSize) {
            throw ContainerFailure(TooLargeText);
        }
        ContainerOutput output(outputPath, source.Permissions());
        result.dataLoopRan = true;
        const std::size_t headerLength = PutHeader(cipher.Buffer.data(), password, name);
        if (!EncryptChunks(cipher, source, output, job, headerLength) || job.CancelRequested()) {
            return result;
        }
        output.Commit();
        result.done = true;
    } catch (const ContainerFailure& failure) {
        job.Warn(failure.what());
    }
    return result;
}

} // namespace quarn
