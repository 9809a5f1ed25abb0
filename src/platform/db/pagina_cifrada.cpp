// An enciphered page: the salt (first page only), the enciphered bytes, then
// the vector they were enciphered from and a checksum of both, made with a
// key of its own derived from the file's key.

#include "platform/db/pagina_cifrada.h"

#include "platform/db/chave.h"
#include "platform/db/interno.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstring>

namespace gv::db {

namespace {

constexpr int Bloco = 16;   // the cipher's block, and its vector

} // namespace

std::optional<Cifra_Paginas> Cifra_Paginas::de(const std::string& senha, const unsigned char* sal) {
    const EVP_MD* hash = chave::hash();
    if (!hash) return std::nullopt;
    const std::string k = chave::bruta(senha, sal);
    if (k.empty()) return std::nullopt;
    Cifra_Paginas c;
    c.chave_ = k;
    c.hash_ = hash;
    c.soma_ = EVP_MD_get_size(hash);
    c.reserva_ = (Bloco + c.soma_ + Bloco - 1) / Bloco * Bloco;
    // The checksum's key: the page key stretched twice over the salt, masked.
    unsigned char sal_soma[chave::Tamanho_Sal], soma[chave::Tamanho];
    for (std::size_t i = 0; i < chave::Tamanho_Sal; ++i) sal_soma[i] = sal[i] ^ 0x3a;
    if (PKCS5_PBKDF2_HMAC(k.data(), static_cast<int>(k.size()), sal_soma, sizeof sal_soma, 2, hash, sizeof soma,
                          soma) != 1)
        return std::nullopt;
    c.chave_soma_.assign(reinterpret_cast<const char*>(soma), sizeof soma);
    return c;
}

bool Cifra_Paginas::confere(const unsigned char* imagem, int pagina, std::uint32_t numero) const {
    const int inicio = numero == 1 ? static_cast<int>(chave::Tamanho_Sal) : 0;
    const int fim = pagina - reserva_ + Bloco;
    if (fim <= inicio) return false;
    std::string dados(reinterpret_cast<const char*>(imagem + inicio), static_cast<std::size_t>(fim - inicio));
    for (int i = 0; i < 4; ++i) dados += static_cast<char>((numero >> (8 * i)) & 0xFF);
    unsigned char feita[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (!HMAC(hash_, chave_soma_.data(), static_cast<int>(chave_soma_.size()),
              reinterpret_cast<const unsigned char*>(dados.data()), dados.size(), feita, &n) ||
        static_cast<int>(n) != soma_)
        return false;
    return CRYPTO_memcmp(feita, imagem + fim, n) == 0;
}

std::optional<Marca> Cifra_Paginas::marcas(const unsigned char* imagem) const {
    // The header's bytes 32 to 80, deciphered from the blocks before them.
    constexpr int De = 32, Ate = 80;
    unsigned char claro[Ate - De + Bloco];
    int n = 0, resto = 0;
    EVP_CIPHER_CTX* c = EVP_CIPHER_CTX_new();
    const bool ok = c &&
                    EVP_DecryptInit_ex(c, EVP_aes_256_cbc(), nullptr,
                                       reinterpret_cast<const unsigned char*>(chave_.data()), imagem + De - Bloco) == 1 &&
                    EVP_CIPHER_CTX_set_padding(c, 0) == 1 && EVP_DecryptUpdate(c, claro, &n, imagem + De, Ate - De) == 1 &&
                    EVP_DecryptFinal_ex(c, claro + n, &resto) == 1;
    EVP_CIPHER_CTX_free(c);
    if (!ok || n + resto != Ate - De) return std::nullopt;
    auto campo = [&](int deslocamento) { return grande(claro + deslocamento - De); };
    // A header: its schema format, text encoding and vacuum flag have few values.
    const std::uint32_t formato = campo(44), codificacao = campo(56), incremental = campo(64);
    if (formato > 4 || codificacao > 3 || incremental > 1) return std::nullopt;
    return Marca{static_cast<std::int32_t>(campo(60)), static_cast<std::int32_t>(campo(68))};
}

} // namespace gv::db
