#include "platform/db/pasta_temporaria.h"

#include "platform/db/database.h"
#include "platform/falhas.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

constexpr const char* Prefixo = "gv-copia-";

// The temporary folder, named as the person would look for it.
std::string nome_pasta_temporaria() {
    for (const char* v : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"})
        if (const char* s = std::getenv(v); s && *s) return s;
    return "/tmp";
}

[[noreturn]] void falha_temporaria(const std::string& pasta, const std::error_code& ec, const std::string& o_que) {
    throw Erro_BD(ERRO_FICHEIRO, o_que + " na pasta temporária " + pasta + ": " + ec.message(),
                  Erro_BD::Tipo::Pasta_Temporaria, pasta, tipo_do_sistema(ec));
}

} // namespace

Copia_Privada::Copia_Privada() {
    std::error_code ec;
    const std::string nome = nome_pasta_temporaria();
    const fs::path temporaria = fs::temp_directory_path(ec);
    if (ec || temporaria.empty() || !fs::is_directory(temporaria, ec)) {
        if (!ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
        falha_temporaria(nome, ec, "Não existe");
    }
    std::string modelo = (temporaria / (std::string(Prefixo) + "XXXXXX")).string();
    if (!::mkdtemp(modelo.data())) falha_temporaria(nome, {errno, std::generic_category()}, "Não foi possível criar");
    pasta_ = modelo;
    // The owner's file takes its name already locked: until then the folder
    // has none, and is fresh, which no cleaner takes for an orphan.
    const fs::path novo = pasta_ / ".dono-novo";
    dono_ = ::open(novo.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    const bool trancado = dono_ >= 0 && ::flock(dono_, LOCK_EX | LOCK_NB) == 0;
    if (trancado) ponto_de_falha("copia_privada.dono");
    if (!trancado || ::rename(novo.c_str(), (pasta_ / ".dono").c_str()) != 0) {
        const std::error_code sis(errno, std::generic_category());
        remover();
        falha_temporaria(nome, sis, "Não foi possível escrever");
    }
    nome_ = nome;
}

Copia_Privada::~Copia_Privada() { remover(); }

std::string Copia_Privada::copiar(const std::string& de, const std::string& para) {
    const fs::path destino = pasta_ / para;
    std::error_code ec;
    fs::create_directories(destino.parent_path(), ec);
    if (!ec) fs::copy_file(de, destino, ec);
    if (!ec) return destino.string();
    if (::access(de.c_str(), R_OK) != 0)
        throw Erro_BD(ERRO_FICHEIRO, "Não foi possível ler " + de + ": " + ec.message(), tipo_do_sistema(ec), de);
    falha_temporaria(nome_, ec, "Não foi possível copiar " + de);
}

void Copia_Privada::remover() {
    std::error_code ec;
    if (!pasta_.empty()) fs::remove_all(pasta_, ec);
    if (dono_ >= 0) ::close(dono_);
    dono_ = -1;
    pasta_.clear();
}

void limpar_copias_orfas() {
    std::error_code ec;
    const fs::path temporaria = fs::temp_directory_path(ec);
    if (ec) return;
    for (fs::directory_iterator it(temporaria, ec), fim; !ec && it != fim; it.increment(ec)) {
        const fs::path pasta = it->path();
        // Only folders of ours, never a link to one.
        if (pasta.filename().string().rfind(Prefixo, 0) != 0 ||
            it->symlink_status(ec).type() != fs::file_type::directory)
            continue;
        const int fd = ::open((pasta / ".dono").c_str(), O_RDWR | O_CLOEXEC);
        bool orfa;
        if (fd >= 0) {
            orfa = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        } else {
            // Killed before its lock was made, or being made right now.
            const auto idade = fs::file_time_type::clock::now() - fs::last_write_time(pasta, ec);
            orfa = !ec && idade > std::chrono::minutes(1);
        }
        if (orfa) fs::remove_all(pasta, ec);
        if (fd >= 0) ::close(fd);
        ec.clear();
    }
}

} // namespace gv::db
