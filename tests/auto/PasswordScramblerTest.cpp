// The password scrambling against OpenSSL's RC4 (from its legacy provider) and the published
// RC4 test vectors, and the stored form's rules.
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

#include <random>

#include "auto/PasswordScrambler.h"

namespace {

std::string fromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string opensslRc4(const std::string& key, const std::string& data) {
    EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "RC4", nullptr);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    std::string out(data.size(), '\0');
    int length = 0;
    bool ok = cipher && ctx && EVP_EncryptInit_ex2(ctx, cipher, nullptr, nullptr, nullptr) &&
              EVP_CIPHER_CTX_set_key_length(ctx, static_cast<int>(key.size())) &&
              EVP_EncryptInit_ex2(ctx, nullptr, reinterpret_cast<const unsigned char*>(key.data()),
                                  nullptr, nullptr) &&
              EVP_EncryptUpdate(ctx, reinterpret_cast<unsigned char*>(out.data()), &length,
                                reinterpret_cast<const unsigned char*>(data.data()),
                                static_cast<int>(data.size()));
    EVP_CIPHER_CTX_free(ctx);
    EVP_CIPHER_free(cipher);
    EXPECT_TRUE(ok);
    return out;
}

TEST(PasswordScramblerTest, Rc4EqualsOpenSslForRandomKeysAndPasswords) {
    OSSL_PROVIDER* legacy = OSSL_PROVIDER_load(nullptr, "legacy");
    ASSERT_NE(legacy, nullptr);
    std::mt19937 random(20);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string key(1 + round % 64, '\0'), data(random() % 300, '\0');
        for (char& c : key)
            c = static_cast<char>(byte(random));
        for (char& c : data)
            c = static_cast<char>(byte(random));
        ASSERT_EQ(Rc4(key, data), opensslRc4(key, data)) << "round " << round;
    }
    OSSL_PROVIDER_unload(legacy);
}

// RFC 6229: the key stream from its start for keys of 40, 56, 64 and 128 bits.
TEST(PasswordScramblerTest, Rc4GivesThePublishedKeyStreams) {
    const struct {
        const char* key;
        const char* stream;
    } vectors[] = {
        {"0102030405", "b2396305f03dc027ccc3524a0a1118a86982944f18fc82d589c403a47a0d0919"},
        {"01020304050607", "293f02d47f37c9b633f2af5285feb46be620f1390d19bd84e2e0fd752031afc1"},
        {"0102030405060708", "97ab8a1bf0afb96132f2f67258da15a88263efdb45c4a18684ef87e6b19e5b09"},
        {"0102030405060708090a0b0c0d0e0f10", "9ac7cc9a609d1ef7b2932899cde41b97"},
    };
    for (const auto& v : vectors) {
        const std::string stream = fromHex(v.stream);
        EXPECT_EQ(Rc4(fromHex(v.key), std::string(stream.size(), '\0')), stream) << v.key;
    }
}

TEST(PasswordScramblerTest, StoredFormIsUpperCaseHexThatComesBackOnlyWithTheSameKey) {
    const std::string key = PasswordKeyFrom("kim", "0123abcd");
    const std::string stored = ScramblePassword("abc", key);
    EXPECT_EQ(stored.size(), 6u);
    EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(UnscramblePassword(stored, key), "abc");
    // The key stream of another key turns "abc" into control bytes here: read as empty.
    EXPECT_EQ(UnscramblePassword(ScramblePassword("abc", "Key"), "Secret"), "");

    EXPECT_EQ(ScramblePassword("", key), "");
    EXPECT_EQ(ScramblePassword(std::string(131, 'a'), key), "");
    const std::string longest(130, '~');
    EXPECT_EQ(UnscramblePassword(ScramblePassword(longest, key), key), longest);
    EXPECT_EQ(UnscramblePassword("", key), "");
    EXPECT_EQ(UnscramblePassword(stored.substr(1), key), "");
    // Lower-case and other characters read as the digit 0.
    std::string lower = stored;
    for (char& c : lower)
        c = (c >= 'A' && c <= 'F') ? static_cast<char>(c + 32) : c;
    std::string zeroed = stored;
    for (char& c : zeroed)
        c = (c >= 'A' && c <= 'F') ? '0' : c;
    EXPECT_EQ(UnscramblePassword(lower, key), UnscramblePassword(zeroed, key));
    EXPECT_EQ(UnscramblePassword("zz", key), UnscramblePassword("00", key));
    // Bytes outside 0x20-0x7F, going in or coming out, give an empty password.
    EXPECT_EQ(UnscramblePassword(ScramblePassword("\x1F", key), key), "");
    EXPECT_EQ(UnscramblePassword(ScramblePassword("\xB0\xA1", key), key), "");
    EXPECT_EQ(UnscramblePassword(ScramblePassword("\x7F ", key), key), "\x7F ");
}

TEST(PasswordScramblerTest, KeySourceCutsHighBytesToSevenBits) {
    EXPECT_EQ(PasswordKeyFrom("", ""), "Kestrel42");
    EXPECT_EQ(PasswordKeyFrom("kim", ""), "kim");
    EXPECT_EQ(PasswordKeyFrom("\xB1\xE8",
                              "\x80"
                              "1"),
              std::string("1h 1"));
    EXPECT_EQ(UnscramblePassword(ScramblePassword("pw")), "pw");
    EXPECT_EQ(ScramblePassword("pw"), ScramblePassword("pw", PasswordKey()));
}

}  // namespace
