#pragma once

#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "cipher/Rijndael.h"
#include "engine/Container.h"
#include "engine/FileWorkView.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace quarn::test {

// A window for the per-file procedures: scripted messages, recorded bar values, a cancel
// flag the test can raise at a given bar value, and hooks on bar values and message pumps.
// The bar moves after every chunk; messages are processed when the procedure finds it time
// to, and always while it waits for a flush or a removal.
class ContainerTestView : public FileWorkView {
public:
    MessageService& Messages() override { return messages; }
    void ProcessMessages() override {
        ++pumps;
        if (onPump) {
            onPump(pumps);
        }
    }
    bool CancelRequested() const override { return cancel; }
    void SetFileProgress(int percent) override {
        progress.push_back(percent);
        if (cancelAtProgress != 0 && progress.size() >= cancelAtProgress) {
            cancel = true;
        }
        if (onProgress) {
            onProgress(progress.size());
        }
    }

    ScriptedMessages messages;
    std::vector<int> progress;
    int pumps = 0;
    std::size_t cancelAtProgress = 0; // the bar value of this number raises the flag; 0: never
    bool cancel = false;
    std::function<void(int)> onPump;             // with the pump's number
    std::function<void(std::size_t)> onProgress; // with the number of bar values so far
};

inline const std::string EncryptPrefix = "Unable to encrypt file '";
inline const std::string DecryptPrefix = "Unable to decrypt file '";

// The plain text of a container, built independently of the writer.
inline std::string ContainerPlain(const std::string& password, const std::string& name,
                                  const std::string& contents) {
    std::string plain = password + '\x0E' + name + '\x0E' + contents;
    const std::size_t padding = 16 - plain.size() % 16;
    plain.append(padding, static_cast<char>(padding));
    return plain;
}

// AES-256-CBC with the container's folded key and IV, straight from libcrypto: the oracle
// for the format. plain must be a whole number of blocks.
inline std::string ContainerCipher(const std::string& password, const std::string& plain,
                                   bool encrypt = true) {
    unsigned char key[32] = {};
    unsigned char iv[16] = {};
    for (std::size_t i = 0; i < password.size(); ++i) {
        key[i % 32] ^= static_cast<unsigned char>(password[i]);
    }
    for (std::size_t i = 0; i < ContainerIVSeed.size(); ++i) {
        iv[i & 15] ^= static_cast<unsigned char>(ContainerIVSeed[i]);
    }
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    std::string out(plain.size(), '\0');
    int length = 0;
    const bool ok =
        EVP_CipherInit_ex(context, EVP_aes_256_cbc(), nullptr, key, iv, encrypt ? 1 : 0) == 1 &&
        EVP_CIPHER_CTX_set_padding(context, 0) == 1 &&
        EVP_CipherUpdate(context, reinterpret_cast<unsigned char*>(out.data()), &length,
                         reinterpret_cast<const unsigned char*>(plain.data()),
                         static_cast<int>(plain.size())) == 1;
    EVP_CIPHER_CTX_free(context);
    if (!ok || plain.size() % 16 != 0) {
        throw std::runtime_error("EVP failed");
    }
    return out;
}

// A name-clash step that takes the proposed path. Never the answer to a taken name: the
// output would ask for the same name again.
inline std::optional<std::string> TakeProposed(const std::string& path) {
    return path;
}

// The answer to a taken name where a test expects none: skip the file.
inline std::optional<std::string> NoClashExpected(const std::string& path) {
    ADD_FAILURE() << "the output name was taken: " << path;
    return std::nullopt;
}

} // namespace quarn::test
