// The key of an enciphered file: derived here from the password and the
// salt the file begins with, as the engine would, once per salt; and the
// export of a whole database into a new file with a salt of its own, whose
// key may be got ready on a thread of its own meanwhile.

// SHA-1's own steps, which the faster derivation below works from, are
// marked as kept for older code; they are kept.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "platform/db/chave.h"

#include "platform/db/database.h"
#include "platform/db/interno.h"

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

// How this engine turns a password into a key: its rounds and hash.
struct Derivacao {
    int voltas = 0;
    const EVP_MD* hash = nullptr;
};

const Derivacao& derivacao() {
    static const Derivacao d = [] {
        Derivacao r;
        sqlite3* m = nullptr;
        if (sqlite3_open(":memory:", &m) == SQLITE_OK) {
            auto ler = [m](const char* sql) {
                std::string v;
                sqlite3_stmt* st = nullptr;
                if (sqlite3_prepare_v2(m, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW &&
                    sqlite3_column_text(st, 0))
                    v = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
                sqlite3_finalize(st);
                return v;
            };
            const std::string voltas = ler("PRAGMA cipher_default_kdf_iter");
            const std::string algoritmo = ler("PRAGMA cipher_default_kdf_algorithm");
            r.voltas = voltas.empty() ? 0 : std::atoi(voltas.c_str());
            r.hash = algoritmo.empty() || algoritmo.find("SHA1") != std::string::npos ? EVP_sha1()
                     : algoritmo.find("SHA256") != std::string::npos                  ? EVP_sha256()
                     : algoritmo.find("SHA512") != std::string::npos                  ? EVP_sha512()
                                                                                      : nullptr;
        }
        sqlite3_close(m);
        return r;
    }();
    return d;
}

// A block with SHA-1, the engine's own hash here: each round costs two
// compressions, from the key's inner and outer states worked out once.
void bloco_sha1(const std::string& senha, const unsigned char* sal, std::size_t tamanho_sal, int voltas,
                const unsigned char* numero, unsigned char* saida, std::size_t tamanho) {
    unsigned char chave[SHA_CBLOCK] = {}, dentro[SHA_CBLOCK], fora[SHA_CBLOCK];
    if (senha.size() > SHA_CBLOCK)
        SHA1(reinterpret_cast<const unsigned char*>(senha.data()), senha.size(), chave);
    else
        std::memcpy(chave, senha.data(), senha.size());
    for (int i = 0; i < SHA_CBLOCK; ++i) {
        dentro[i] = chave[i] ^ 0x36;
        fora[i] = chave[i] ^ 0x5c;
    }
    SHA_CTX interior, exterior, c;
    SHA1_Init(&interior);
    SHA1_Update(&interior, dentro, sizeof dentro);
    SHA1_Init(&exterior);
    SHA1_Update(&exterior, fora, sizeof fora);
    unsigned char u[SHA_DIGEST_LENGTH], t[SHA_DIGEST_LENGTH];
    auto hmac = [&](const unsigned char* a, std::size_t na, const unsigned char* b, std::size_t nb) {
        c = interior;
        SHA1_Update(&c, a, na);
        if (nb) SHA1_Update(&c, b, nb);
        SHA1_Final(u, &c);
        c = exterior;
        SHA1_Update(&c, u, sizeof u);
        SHA1_Final(u, &c);
    };
    hmac(sal, tamanho_sal, numero, 4);
    std::memcpy(t, u, sizeof t);
    for (int i = 1; i < voltas; ++i) {
        hmac(u, sizeof u, nullptr, 0);
        for (std::size_t j = 0; j < sizeof t; ++j) t[j] ^= u[j];
    }
    std::memcpy(saida, t, std::min(sizeof t, tamanho));
}

// One block of the engine's derivation (PBKDF2 over HMAC): the n-th
// hash-long piece of the key, which owes nothing to the other pieces.
bool bloco(const std::string& senha, const unsigned char* sal, std::size_t tamanho_sal, const Derivacao& k,
           std::uint32_t n, unsigned char* saida, std::size_t tamanho) {
    const unsigned char numero[4] = {static_cast<unsigned char>(n >> 24), static_cast<unsigned char>(n >> 16),
                                     static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n)};
    if (EVP_MD_get_type(k.hash) == NID_sha1) {
        bloco_sha1(senha, sal, tamanho_sal, k.voltas, numero, saida, tamanho);
        return true;
    }
    EVP_MAC* mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    EVP_MAC_CTX* c = mac ? EVP_MAC_CTX_new(mac) : nullptr;
    std::string nome = EVP_MD_get0_name(k.hash);
    const OSSL_PARAM hash[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, nome.data(), 0),
                               OSSL_PARAM_construct_end()};
    const std::size_t h = static_cast<std::size_t>(EVP_MD_get_size(k.hash));
    unsigned char u[EVP_MAX_MD_SIZE], t[EVP_MAX_MD_SIZE];
    std::size_t lidos = 0;
    bool ok = c && EVP_MAC_init(c, reinterpret_cast<const unsigned char*>(senha.data()), senha.size(), hash) &&
              EVP_MAC_update(c, sal, tamanho_sal) && EVP_MAC_update(c, numero, sizeof numero) &&
              EVP_MAC_final(c, u, &lidos, sizeof u) && lidos == h;
    if (ok) std::memcpy(t, u, h);
    for (int i = 1; ok && i < k.voltas; ++i) {
        // The same key again, without its setting up.
        ok = EVP_MAC_init(c, nullptr, 0, nullptr) && EVP_MAC_update(c, u, h) && EVP_MAC_final(c, u, &lidos, sizeof u);
        for (std::size_t j = 0; j < h; ++j) t[j] ^= u[j];
    }
    if (ok) std::memcpy(saida, t, std::min(h, tamanho));
    EVP_MAC_CTX_free(c);
    EVP_MAC_free(mac);
    return ok;
}

// The key derived as the engine would, its blocks side by side, each on a
// thread of its own: the same key in the time of one block.
bool derivar(const std::string& senha, const unsigned char* sal, std::size_t tamanho_sal, const Derivacao& k,
             unsigned char* chave, std::size_t tamanho) {
    const std::size_t h = static_cast<std::size_t>(EVP_MD_get_size(k.hash));
    const std::size_t blocos = (tamanho + h - 1) / h;
    std::vector<char> feitos(blocos, 0);
    auto fazer = [&](std::size_t i) {
        feitos[i] = bloco(senha, sal, tamanho_sal, k, static_cast<std::uint32_t>(i + 1), chave + i * h,
                          tamanho - i * h);
    };
    std::vector<std::thread> outros;
    for (std::size_t i = 1; i < blocos; ++i) try {
            outros.emplace_back(fazer, i);
        } catch (const std::system_error&) {
            fazer(i);   // no thread to be had: here, in turn
        }
    fazer(0);
    for (auto& t : outros) t.join();
    return std::all_of(feitos.begin(), feitos.end(), [](char f) { return f != 0; });
}

} // namespace

bool Database::derivacao_provada_ = false;

namespace {

std::string hexadecimal(const unsigned char* b, std::size_t n) {
    static const char hex[] = "0123456789ABCDEF";
    std::string r;
    r.reserve(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        r += hex[b[i] >> 4];
        r += hex[b[i] & 0xF];
    }
    return r;
}

// The keys derived so far and their count, for every thread: one may be
// deriving a new file's key while another opens a file.
std::mutex guarda_chaves;
std::map<std::string, std::string> guardadas;
int derivadas = 0;

} // namespace

namespace chave {

const EVP_MD* hash() { return derivacao().voltas > 0 ? derivacao().hash : nullptr; }

int derivacoes() {
    std::lock_guard<std::mutex> l(guarda_chaves);
    return derivadas;
}

// The derivation itself runs unlocked.
std::string bruta(const std::string& senha, const unsigned char* sal) {
    const Derivacao& k = derivacao();
    if (k.voltas <= 0 || !k.hash) return {};
    std::string onde = senha;
    onde.push_back('\0');
    onde.append(reinterpret_cast<const char*>(sal), Tamanho_Sal);
    {
        std::lock_guard<std::mutex> l(guarda_chaves);
        auto it = guardadas.find(onde);
        if (it != guardadas.end()) return it->second;
        ++derivadas;
    }
    unsigned char feita[Tamanho];
    if (!derivar(senha, sal, Tamanho_Sal, k, feita, Tamanho)) return {};
    std::lock_guard<std::mutex> l(guarda_chaves);
    return guardadas.emplace(std::move(onde), std::string(reinterpret_cast<const char*>(feita), Tamanho)).first->second;
}

std::string para_o_motor(const std::string& bruta, const unsigned char* sal) {
    if (bruta.empty()) return {};
    return "x'" + hexadecimal(reinterpret_cast<const unsigned char*>(bruta.data()), bruta.size()) +
           (sal ? hexadecimal(sal, Tamanho_Sal) : std::string()) + "'";
}

} // namespace chave

int Database::derivacoes() { return chave::derivacoes(); }

// The raw key for this password and the salt the file begins with; empty
// when the file has no salt to read or the engine's way is not known.
std::string Database::chave_guardada(const std::string& senha, const std::string& caminho) {
    unsigned char sal[chave::Tamanho_Sal];
    std::FILE* f = std::fopen(caminho.c_str(), "rb");
    if (!f) return {};
    const std::size_t lidos = std::fread(sal, 1, chave::Tamanho_Sal, f);
    std::fclose(f);
    if (lidos != chave::Tamanho_Sal) return {};
    return chave::para_o_motor(chave::bruta(senha, sal));
}

namespace {

// The raw key of a new file for the engine, its salt after it.
std::string chave_com_sal(const std::string& senha, const unsigned char* sal) {
    return chave::para_o_motor(chave::bruta(senha, sal), sal);
}

} // namespace

// Only once a key derived here has opened a file: the engine's way is then
// known already, and the thread touches nothing of the engine.
Database::Chave_Nova Database::preparar_chave(const std::string& ligacao) {
    Chave_Nova c;
    c.senha_ = senha_da_ligacao(ligacao);
    std::array<unsigned char, chave::Tamanho_Sal> sal;
    if (c.senha_.empty() || !derivacao_provada_ || RAND_bytes(sal.data(), chave::Tamanho_Sal) != 1) return c;
    try {
        c.chave_ = std::async(std::launch::async, [senha = c.senha_, sal] { return chave_com_sal(senha, sal.data()); });
    } catch (const std::system_error&) {
        // No thread to be had: the export derives the key itself.
    }
    return c;
}

void Database::exportar(const std::string& destino, const std::string& ligacao, Chave_Nova preparada) {
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    if (transaccoes_ > 0) throw Erro_BD(SQLITE_MISUSE, "Exportação dentro de uma transacção");
    std::error_code ec;
    if (fs::exists(destino, ec)) throw Erro_BD(ERRO_FICHEIRO, "O ficheiro já existe: " + destino);
    const std::string senha = senha_da_ligacao(ligacao);
    std::string chave = senha;
    // The key is derived here from a salt drawn here (or was got ready so
    // by preparar_chave), and handed over with it: the new file begins with
    // that salt, and opening it later costs no second derivation. Until a
    // key derived here has opened a file, the engine derives it, with a
    // salt of its own drawing.
    if (!senha.empty() && derivacao_provada_) {
        std::string k = preparada.chave_.valid() && preparada.senha_ == senha ? preparada.chave_.get() : std::string();
        unsigned char sal[chave::Tamanho_Sal];
        if (k.empty() && RAND_bytes(sal, chave::Tamanho_Sal) == 1) k = chave_com_sal(senha, sal);
        if (!k.empty()) chave = std::move(k);
    }
    // Nothing is committed to this file: its hooks wait aside meanwhile.
    struct Sem_Ganchos {
        std::unique_ptr<Ganchos_Commit>& g;
        std::unique_ptr<Ganchos_Commit> postos = std::move(g);
        ~Sem_Ganchos() { g = std::move(postos); }
    } sem_ganchos{ganchos_};
    // An attached file takes the engine's default page size.
    const std::string antes = valor("PRAGMA cipher_default_page_size").texto();
    executar_script("PRAGMA cipher_default_page_size = " + std::to_string(pagina_));
    const Repor_Pragma repor{db_, antes.empty() ? std::string() : "PRAGMA cipher_default_page_size = " + antes};
    Execute("ATTACH DATABASE ? AS gv_novo KEY ?", {destino, chave});
    // One transaction, not one per table and index: the new file's journal
    // is synced a couple of times in all. The source is only read.
    try {
        executar_script("BEGIN");
        valor("SELECT sqlcipher_export('gv_novo')");
        executar_script("COMMIT");
    } catch (...) {
        // The engine may have undone it already.
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(db_, "DETACH DATABASE gv_novo", nullptr, nullptr, nullptr);
        fs::remove(destino, ec);
        fs::remove(destino + "-journal", ec);
        throw;
    }
    Execute("DETACH DATABASE gv_novo");
}

} // namespace gv::db
