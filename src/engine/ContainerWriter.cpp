#include "cipher/Rijndael.h"
#include "engine/Container.h"
#include "engine/ContainerFormat.h"
#include "engine/ContainerJob.h"
#include "engine/ContainerOutput.h"
#include "engine/ContainerSource.h"
#include "engine/FileFailure.h"

#include <cstring>

namespace quarn {
namespace {

StepFailure CheckStorable(const std::string& name, const std::string& password) {
    if (!IsStorablePassword(password)) {
        return FileFailure{FailureKind::UnstorablePassword};
    }
    if (!IsStorableName(name) || password.size() + name.size() + 2 > MaxHeaderLength) {
        return FileFailure{FailureKind::UnstorableName};
    }
    return std::nullopt;
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
// holds the header), the cancel flag tested before each. The end is where a read comes back
// short; a source that ends exactly on a chunk gets a last chunk of padding only. Answers
// with cancelled set when the cancel flag stopped it.
StepFailure EncryptChunks(TRijndael& cipher, ContainerSource& source, ContainerOutput& output,
                          ContainerJob& job, std::size_t headerLength, bool& cancelled) {
    std::uint8_t* buffer = cipher.Buffer.data();
    std::size_t offset = headerLength;
    std::int64_t processed = 0;
    for (bool atEnd = false; !atEnd; offset = 0) {
        if (job.CancelRequested()) {
            cancelled = true;
            return std::nullopt;
        }
        const std::size_t wanted = TRijndael::ChunkSize - offset;
        std::size_t got = 0;
        if (auto failure = source.Read(buffer + offset, wanted, got)) {
            return failure;
        }
        std::size_t count = offset + got;
        processed += static_cast<std::int64_t>(count);
        atEnd = got < wanted;
        if (atEnd) {
            count = AppendPadding(buffer, count);
        }
        cipher.EncryptBuffer(static_cast<int>(count));
        if (auto failure = output.Write(buffer, count)) {
            return failure;
        }
        job.ShowProgress(processed, source.Size());
    }
    cancelled = job.CancelRequested();
    return std::nullopt;
}

// The steps of one file; result.dataLoopRan and done are set as they are reached.
StepFailure Encrypt(TRijndael& cipher, ContainerJob& job, const std::string& sourcePath,
                    const std::string& outputPath, const std::string& name,
                    const std::string& password, const ChooseOutputPath& chooseOutputPath,
                    ContainerResult& result) {
    if (auto failure = CheckStorable(name, password)) {
        return failure;
    }
    ContainerSource source;
    if (auto failure = source.Open(sourcePath)) {
        return failure;
    }
    if (source.Size() == 0) {
        return std::nullopt;
    }
    if (source.Size() > MaxSourceSize) {
        return FileFailure{FailureKind::TooLarge};
    }
    ContainerOutput output;
    if (auto failure = output.Open(outputPath, source.Permissions())) {
        return failure;
    }
    result.dataLoopRan = true;
    const std::size_t headerLength = PutHeader(cipher.Buffer.data(), password, name);
    bool cancelled = false;
    auto failure = EncryptChunks(cipher, source, output, job, headerLength, cancelled);
    if (!failure && !cancelled) {
        failure = output.Commit(job, chooseOutputPath);
    }
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

ContainerResult WriteContainer(TRijndael& cipher, FileWorkView& view, const std::string& sourcePath,
                               const std::string& outputPath, const std::string& name,
                               const std::string& password,
                               const ChooseOutputPath& chooseOutputPath) {
    ContainerKeying keying(cipher, password);
    ContainerJob job(view, "encrypt", name);
    ContainerResult result;
    if (const auto failure = Encrypt(cipher, job, sourcePath, outputPath, name, password,
                                     chooseOutputPath, result)) {
        job.Warn(*failure);
    }
    return result;
}

} // namespace quarn
