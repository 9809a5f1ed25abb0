#include "platform/db/pasta_temporaria.h"

#include "platform/db/capacidades.h"
#include "platform/db/nomes_ficheiro.h"
#include "platform/db/database.h"
#include "platform/falhas.h"

#include "platform/db/interno.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>


#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <vector>

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

// What the folder holds removed, each file and folder once, never through
// a link, but `fica`: a file system that keeps a deleted open file under a
// hidden name keeps that name, and the folder with it, till the file is
// closed (a cleaner takes them then); removing them again would only hide
// them anew.
void remover_dentro(const fs::path& pasta, std::string_view fica = {}) {
    std::error_code ec;
    std::vector<fs::path> dentro;
    for (fs::directory_iterator it(pasta, ec), fim; !ec && it != fim; it.increment(ec)) dentro.push_back(it->path());
    for (const fs::path& p : dentro) {
        const std::string n = p.filename().string();
        if (escondido(n) || n == fica) continue;
        if (fs::symlink_status(p, ec).type() == fs::file_type::directory) {
            remover_dentro(p);
            fs::remove(p, ec);
        } else {
            fs::remove(p, ec);
        }
    }
}

// The folder removed with what it holds, as above.
void remover_arvore(const fs::path& pasta) {
    remover_dentro(pasta);
    std::error_code ec;
    fs::remove(pasta, ec);
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

std::string Copia_Privada::copiar(int fd, const std::string& de, const std::string& para) {
    const fs::path destino = pasta_ / para;
    std::error_code ec;
    fs::create_directories(destino.parent_path(), ec);
    const int para_fd = ec ? -1 : ::open(destino.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (para_fd < 0) falha_temporaria(nome_, ec ? ec : std::error_code(errno, std::generic_category()), "Não foi possível copiar " + de);
    const Copiado c = copiar_inteiro(fd, para_fd);
    const std::error_code sis(errno ? errno : EIO, std::generic_category());
    ::close(para_fd);
    if (c == Copiado::Inteiro) return destino.string();
    // A read that fell short is the game's file's; a write, the folder's.
    if (c == Copiado::Leitura_Falhou)
        throw Erro_BD(ERRO_FICHEIRO, "Não foi possível ler " + de + ": " + sis.message(), tipo_do_sistema(sis), de);
    falha_temporaria(nome_, sis, "Não foi possível copiar " + de);
}

void Copia_Privada::falhou(const Erro_BD& e) const {
    throw Erro_BD(e.numero(), e.descricao() + " na pasta temporária " + nome_, Erro_BD::Tipo::Pasta_Temporaria, nome_,
                  e.tipo());
}

void Copia_Privada::remover() {
    // The owner's file goes last: a kill on the way leaves a folder whose
    // lock the next load takes at once. It is let go before it is removed:
    // a file system that keeps a deleted open file under a hidden name
    // would keep the folder too.
    if (!pasta_.empty()) {
        remover_dentro(pasta_, ".dono");
        ponto_de_falha("copia_privada.remover");
    }
    if (dono_ >= 0) ::close(dono_);
    dono_ = -1;
    if (!pasta_.empty()) remover_arvore(pasta_);
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
        // Let go first, as its own load does.
        if (fd >= 0) ::close(fd);
        if (orfa) remover_arvore(pasta);
        ec.clear();
    }
}

} // namespace gv::db
