// The key of an enciphered file: derived here from the password and the
// salt the file begins with, as the engine would, once per salt; and the
// export of a whole database into a new file with a salt of its own.

#include "platform/db/database.h"
#include "platform/db/interno.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

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

} // namespace

int Database::derivacoes_ = 0;
bool Database::derivacao_provada_ = false;

namespace {

// The salt a file of the engine begins with.
constexpr std::size_t Tamanho_Sal = 16;

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

} // namespace

// The raw key ("x'...'") for this password and the salt the file begins
// with, derived as the engine would; empty when the file has no salt to
// read or the engine's way is not known.
std::string Database::chave_guardada(const std::string& senha, const std::string& caminho) {
    unsigned char sal[Tamanho_Sal];
    std::FILE* f = std::fopen(caminho.c_str(), "rb");
    if (!f) return {};
    const std::size_t lidos = std::fread(sal, 1, Tamanho_Sal, f);
    std::fclose(f);
    if (lidos != Tamanho_Sal) return {};
    return chave_do_sal(senha, sal);
}

// The raw key for this password and salt, kept for the process: a file's
// copies share its salt.
std::string Database::chave_do_sal(const std::string& senha, const unsigned char* sal) {
    constexpr std::size_t Chave = 32;
    const Derivacao& k = derivacao();
    if (k.voltas <= 0 || !k.hash) return {};
    static std::map<std::string, std::string> guardadas;
    std::string onde = senha;
    onde.push_back('\0');
    onde.append(reinterpret_cast<const char*>(sal), Tamanho_Sal);
    auto it = guardadas.find(onde);
    if (it != guardadas.end()) return it->second;
    unsigned char chave[Chave];
    ++derivacoes_;
    if (PKCS5_PBKDF2_HMAC(senha.data(), static_cast<int>(senha.size()), sal, Tamanho_Sal, k.voltas, k.hash, Chave,
                          chave) != 1)
        return {};
    return guardadas.emplace(std::move(onde), "x'" + hexadecimal(chave, Chave) + "'").first->second;
}

void Database::compactar() {
    if (transaccoes_ > 0) throw Erro_BD(SQLITE_MISUSE, "Compactação dentro de uma transacção");
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    // Cached statements are reset after each use; none is left running.
    const int rc = sqlite3_exec(db_, "VACUUM", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) falhar(rc, "VACUUM");
}

void Database::exportar(const std::string& destino, const std::string& ligacao) {
    if (!db_) throw Erro_BD(ERRO_SEM_BASE, "Não há base de dados aberta");
    if (transaccoes_ > 0) throw Erro_BD(SQLITE_MISUSE, "Exportação dentro de uma transacção");
    std::error_code ec;
    if (fs::exists(destino, ec)) throw Erro_BD(ERRO_FICHEIRO, "O ficheiro já existe: " + destino);
    const std::string senha = senha_da_ligacao(ligacao);
    std::string chave = senha;
    // The key is derived here from a salt drawn here, and handed over with
    // it: the new file begins with that salt, and opening it later costs no
    // second derivation. Until a key derived here has opened a file, the
    // engine derives it, with a salt of its own drawing.
    unsigned char sal[Tamanho_Sal];
    if (!senha.empty() && derivacao_provada_ && RAND_bytes(sal, Tamanho_Sal) == 1) {
        const std::string k = chave_do_sal(senha, sal);
        if (!k.empty()) chave = k.substr(0, k.size() - 1) + hexadecimal(sal, Tamanho_Sal) + "'";
    }
    // An attached file takes the engine's default page size.
    const std::string antes = valor("PRAGMA cipher_default_page_size").texto();
    executar_script("PRAGMA cipher_default_page_size = " + std::to_string(pagina_));
    struct Repor {
        sqlite3* db;
        std::string pagina;
        ~Repor() {
            if (!pagina.empty())
                sqlite3_exec(db, ("PRAGMA cipher_default_page_size = " + pagina).c_str(), nullptr, nullptr, nullptr);
        }
    } repor{db_, antes};
    Execute("ATTACH DATABASE ? AS gv_novo KEY ?", {destino, chave});
    try {
        valor("SELECT sqlcipher_export('gv_novo')");
    } catch (const Erro_BD&) {
        sqlite3_exec(db_, "DETACH DATABASE gv_novo", nullptr, nullptr, nullptr);
        fs::remove(destino, ec);
        fs::remove(destino + "-journal", ec);
        throw;
    }
    Execute("DETACH DATABASE gv_novo");
}

long long Database::ultimo_rowid() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

} // namespace gv::db
