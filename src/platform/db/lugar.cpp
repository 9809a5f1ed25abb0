// The game's place: its folder held, its file's names checked, the log and
// journal beside it found, set aside and removed, and a file written anew
// put under its name. The engine's calls (lugar_motor.cpp), the copies of a
// game whose file lost its name (paradeiro.cpp) and the watch for another
// program's writes (vigia.cpp) have rooms of their own.

#include "platform/db/lugar.h"

#include "platform/db/alternativas.h"
#include "platform/db/capacidades.h"
#include "platform/db/nomes_ficheiro.h"
#include "platform/db/formato_diario.h"
#include "platform/db/formato_log.h"
#include "platform/db/interno.h"
#include "platform/db/lugar_interno.h"
#include "platform/falhas.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

// Every place by its folder's descriptor: the names the engine is given
// lead through it.
std::mutex guarda_lugares;
std::map<int, std::weak_ptr<Lugar_Jogo>>& lugares() {
    static std::map<int, std::weak_ptr<Lugar_Jogo>> m;
    return m;
}

// A log or journal set aside, before it is removed, or while a rewrite puts
// another file under the game's name.
constexpr const char* De_Lado = Sufixo_De_Lado;

// Whether the file `nome` of the folder begins as a log (or a journal)
// does, or as one emptied: nothing, or a header wiped to zeros.
bool como_lado(int pasta, const std::string& nome, bool log) {
    const int fd = ::openat(pasta, nome.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    unsigned char c[32] = {};
    const std::size_t n = ler_em(fd, c, sizeof c, 0);
    ::close(fd);
    return log ? comeca_como_log(c, n) : comeca_como_diario(c, n);
}

// A file set aside put back under its name, never over another; one the
// setting aside left under both names (a kill between a link and the old
// name's removal) keeps the name it has and loses the other.
bool devolver(int pasta, const std::string& posto, const std::string& nome, const struct stat& quem) {
    if (renomear_sem_substituir(pasta, posto, nome) == 0) return true;
    struct stat n {};
    if (errno != EEXIST || ::fstatat(pasta, nome.c_str(), &n, AT_SYMLINK_NOFOLLOW) != 0 || !mesmo(n, quem)) return false;
    return ::unlinkat(pasta, posto.c_str(), 0) == 0;
}

[[noreturn]] void falha_do_sistema(const std::string& caminho) {
    const std::error_code ec(errno, std::generic_category());
    throw Erro_BD(ERRO_FICHEIRO, "Não foi possível ler " + caminho + ": " + ec.message(), tipo_do_sistema(ec), caminho);
}

[[noreturn]] void nao_e_ficheiro(const std::string& caminho, const std::string& s) {
    throw Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho + " está " + s + ", que não é um ficheiro comum",
                  Erro_BD::Tipo::Sobra_Estranha, s);
}

} // namespace

// The file `nome` of the folder removed, only while it is the file `quem`.
void apagar_se(int pasta, const std::string& nome, const struct stat& quem) {
    struct stat st {};
    if (::fstatat(pasta, nome.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && mesmo(st, quem))
        ::unlinkat(pasta, nome.c_str(), 0);
}

std::shared_ptr<Lugar_Jogo> lugar_da_pasta(int pasta) {
    std::lock_guard<std::mutex> l(guarda_lugares);
    const auto it = lugares().find(pasta);
    return it == lugares().end() ? nullptr : it->second.lock();
}

std::shared_ptr<Lugar_Jogo> Lugar_Jogo::alcancar(const std::string& caminho, const std::string& escolhido) {
    std::shared_ptr<Lugar_Jogo> l(new Lugar_Jogo());
    const fs::path p(caminho);
    l->caminho_ = caminho;
    l->escolhido_ = escolhido.empty() ? caminho : escolhido;
    l->nome_ = p.filename().string();
    const std::string pasta = p.parent_path().empty() ? "." : p.parent_path().string();
    l->pasta_ = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (l->pasta_ < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw Erro_BD(ERRO_FICHEIRO, "A pasta não existe: " + pasta, Erro_BD::Tipo::Sem_Pasta, pasta);
        const std::error_code ec(errno, std::generic_category());
        throw Erro_BD(ERRO_FICHEIRO, "Não foi possível abrir a pasta " + pasta + ": " + ec.message(),
                      tipo_do_sistema(ec), pasta);
    }
    l->vigia_.fieis(capacidades(l->pasta_).tempos_fieis);
    std::lock_guard<std::mutex> g(guarda_lugares);
    lugares()[l->pasta_] = l;
    return l;
}

Lugar_Jogo::~Lugar_Jogo() {
    {
        std::lock_guard<std::mutex> g(guarda_lugares);
        const auto it = lugares().find(pasta_);
        if (it != lugares().end() && it->second.expired()) lugares().erase(it);
    }
    nota_.reset();
    for (auto& lado : ao_lado_) lado = Bloqueio_Jogo();
    ficheiro_ = Bloqueio_Jogo();
    for (int fd : {pasta_, copia_, pasta_copia_})
        if (fd >= 0) ::close(fd);
}

bool Lugar_Jogo::so_de_leitura() const {
    return ::faccessat(pasta_, ".", W_OK | X_OK, AT_EACCESS) != 0 &&
           (errno == EROFS || errno == EACCES || errno == EPERM);
}

bool Lugar_Jogo::ocupado() const {
    struct stat st {};
    return ::fstatat(pasta_, nome_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

void Lugar_Jogo::segurar() {
    struct stat st {};
    if (::fstatat(pasta_, nome_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
        throw Erro_BD(ERRO_FICHEIRO, "O ficheiro não existe: " + caminho_, Erro_BD::Tipo::Sem_Ficheiro, caminho_);
    ficheiro_ = Bloqueio_Jogo::tomar(pasta_, nome_, escolhido_);
    // The load's writes are watched from the first: the file as it is
    // when held is the one judged.
    vigia_.tomar(Vigia::Ficheiro, ficheiro_.descritor());
}

void Lugar_Jogo::anotar(bool trancado) {
    if (anotado_) return;
    nota_ = Nota_Aberto::tomar(pasta_, nome_, escolhido_, sal(), trancado);
    anotado_ = true;
}

std::string Lugar_Jogo::sal() const { return sal(ficheiro_.tomado() ? ficheiro_.descritor() : -1); }

std::string Lugar_Jogo::sal(int de) const {
    const int fd = de >= 0 ? ::dup(de) : ::openat(pasta_, nome_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    unsigned char b[16];
    const std::size_t n = ler_em(fd, b, sizeof b, 0);
    ::close(fd);
    static constexpr char Hex[] = "0123456789abcdef";
    std::string r;
    for (std::size_t i = 0; i < n; ++i) r += {Hex[b[i] >> 4], Hex[b[i] & 15]};
    return r;
}

void Lugar_Jogo::segurar(Bloqueio_Jogo b) {
    ficheiro_ = std::move(b);
    vigia_.tomar(Vigia::Ficheiro, ficheiro_.descritor());
}

std::uintmax_t Lugar_Jogo::tamanho() const {
    struct stat st {};
    const bool visto = ficheiro_.tomado() ? ::fstat(ficheiro_.descritor(), &st) == 0
                                          : ::fstatat(pasta_, nome_.c_str(), &st, 0) == 0;
    return visto ? static_cast<std::uintmax_t>(st.st_size) : 0;
}

bool Lugar_Jogo::nomeia() const { return ficheiro_.nomeia(pasta_, nome_); }

unsigned Lugar_Jogo::nomes() const {
    if (!ficheiro_.tomado()) return 0;
    // Asked before every transaction: the folder is looked through only
    // when there is a second name, to tell a hidden one.
    const unsigned n = nomes_agora(pasta_, ficheiro_.descritor());
    return n > 1 ? nomes_visiveis(pasta_, ficheiro_.descritor()) : n;
}

std::vector<Lugar_Jogo::Ao_Lado> Lugar_Jogo::ver_ao_lado() {
    std::vector<Ao_Lado> r;
    for (Lado l : {Log, Diario}) {
        const std::string nome = nome_ + Sufixos[l], s = caminho_ + Sufixos[l];
        struct stat st {};
        // Set aside by a rewrite or a close that a kill stopped there: back
        // under its name, to be judged.
        const std::string posto = nome + De_Lado;
        // A file of the player's under that name (a game, say) is no log
        // set aside, and is left as it is.
        posto_[l] = ::fstatat(pasta_, posto.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
                    !segura_noutra_janela(pasta_, posto) && como_lado(pasta_, posto, l == Log) &&
                    devolver(pasta_, posto, nome, st);
        if (::fstatat(pasta_, nome.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) continue;
            falha_do_sistema(s);
        }
        if (!S_ISREG(st.st_mode)) nao_e_ficheiro(caminho_, s);
        // Without following a link or waiting on a pipe put there meanwhile.
        ponto_de_falha("lugar.ao_lado_visto");
        const int fd = ::openat(pasta_, nome.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        // Removed since the folder was looked at (a share may list for a
        // while what another machine removed): there is none.
        if (fd < 0 && errno == ENOENT) continue;
        if (fd < 0 && errno == ELOOP) nao_e_ficheiro(caminho_, s);
        if (fd < 0) falha_do_sistema(s);
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            nao_e_ficheiro(caminho_, s);
        }
        // The log of a game another window plays: the game that had this
        // name before, moved or replaced since.
        Bloqueio_Jogo b = Bloqueio_Jogo::do_descritor(fd);
        if (!b.tomado()) sobra_noutra_janela(caminho_, s);
        r.push_back({s, l == Log, b.descritor(), static_cast<std::uintmax_t>(st.st_size), posto_[l]});
        ao_lado_[l] = std::move(b);
        // What the load reads of it from here on is watched as it is now.
        if (l == Log) vigia_.tomar(Vigia::Log, ao_lado_[l].descritor());
    }
    return r;
}

void Lugar_Jogo::remover_posto(bool log) {
    const Lado l = log ? Log : Diario;
    if (ao_lado_[l].nomeia(pasta_, nome_ + Sufixos[l])) remover_lado(l);
    ao_lado_[l] = Bloqueio_Jogo();
    if (l == Log) vigia_.esquecer(Vigia::Log);
}

bool Lugar_Jogo::remover_lado(Lado l) {
    // Set aside under a name of its own, looked at there, then removed: a
    // file that took its name at that instant is put back, untouched.
    const std::string nome = nome_ + Sufixos[l], posto = nome + De_Lado;
    ponto_de_falha("lugar.de_lado");
    if (renomear_sem_substituir(pasta_, nome, posto) != 0) return false;
    ponto_de_falha("lugar.posto");
    if (ao_lado_[l].nomeia(pasta_, posto)) return ::unlinkat(pasta_, posto.c_str(), 0) == 0;
    renomear_sem_substituir(pasta_, posto, nome);
    return false;
}

void Lugar_Jogo::remover_indice_partilhado() const {
    const std::string shm = nome_ + "-shm";
    struct stat st {};
    if (::fstatat(pasta_, shm.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        apagar_se(pasta_, shm, st);
}

bool Lugar_Jogo::log_com_commits() const {
    return ao_lado_[Log].tomado() && !ler_log(ao_lado_[Log].descritor(), nullptr, 0).commits.empty();
}

std::optional<Erro_BD> Lugar_Jogo::recusa() { return std::exchange(recusa_, std::nullopt); }

void Lugar_Jogo::recusar(Erro_BD e) { recusa_ = std::move(e); }

void Lugar_Jogo::substituir(const std::string& de, bool havia) {
    // Held before it takes the name, the old file's hold kept until then.
    Bloqueio_Jogo novo = Bloqueio_Jogo::tomar(pasta_, de, de);
    ponto_de_falha("lugar.substituir");
    if (havia ? !nomeia() : ocupado()) throw perdido(Perda::Nada);
    // In the note before any machine can see it under the name.
    if (nota_) nota_->acrescentar(sal(novo.descritor()));
    std::vector<std::pair<std::string, std::string>> postos;
    for (Lado l : {Log, Diario}) {
        const std::string nome = nome_ + Sufixos[l], posto = nome + De_Lado;
        if (ao_lado_[l].nomeia(pasta_, nome) && renomear_sem_substituir(pasta_, nome, posto) == 0)
            postos.emplace_back(nome, posto);
    }
    ponto_de_falha("lugar.postos");
    if ((havia ? ::renameat(pasta_, de.c_str(), pasta_, nome_.c_str()) : renomear_sem_substituir(pasta_, de, nome_)) != 0) {
        const std::error_code ec(errno, std::generic_category());
        for (const auto& [nome, posto] : postos) renomear_sem_substituir(pasta_, posto, nome);
        if (ec == std::errc::file_exists) throw perdido(Perda::Nada);
        throw Erro_BD(ERRO_FICHEIRO, "Não foi possível substituir " + caminho_ + ": " + ec.message(),
                      tipo_do_sistema(ec));
    }
    // Given its name by a link, it may be another file to the system's
    // locks under it (a user-space file system makes one for each name):
    // held anew by the name.
    const Capacidades c = capacidades(pasta_);
    if (!havia && !c.sem_substituir && c.ligacoes) {
        novo = Bloqueio_Jogo();
        novo = Bloqueio_Jogo::tomar(pasta_, nome_, escolhido_);
    }
    ficheiro_ = std::move(novo);
    // Another file from now on, whole as this window made it: the watch
    // takes it as it is now, and the log the engine makes for it.
    vigia_.tomar(Vigia::Ficheiro, ficheiro_.descritor());
    vigia_.esquecer(Vigia::Log);
    if (nota_) nota_->renovar(sal());
    ponto_de_falha("lugar.substituido");
    // The old file's log and journal, set aside or still under their names.
    for (Lado l : {Log, Diario}) {
        const std::string nome = nome_ + Sufixos[l];
        for (const auto& [n, posto] : postos)
            if (n == nome && ao_lado_[l].nomeia(pasta_, posto)) ::unlinkat(pasta_, posto.c_str(), 0);
        if (ao_lado_[l].nomeia(pasta_, nome)) ::unlinkat(pasta_, nome.c_str(), 0);
        ao_lado_[l] = Bloqueio_Jogo();
    }
    ::fsync(pasta_);
}

namespace {
std::string& pasta_dados_definida() {
    static std::string p;
    return p;
}
} // namespace

void definir_pasta_dados(const std::string& pasta) { pasta_dados_definida() = pasta; }

const std::string& pasta_dados() {
    std::string& p = pasta_dados_definida();
    if (p.empty()) {
        const char* xdg = std::getenv("XDG_DATA_HOME");
        const char* casa = std::getenv("HOME");
        p = ((xdg && *xdg) ? fs::path(xdg) : fs::path(casa ? casa : "/tmp") / ".local" / "share") / "golvantario99";
    }
    return p;
}

} // namespace gv::db
