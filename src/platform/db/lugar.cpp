// The game's place: its folder held, its file's names checked, the engine's
// files handed over, made and removed through it, and a game whose file
// lost its name found again or saved.

#include "platform/db/lugar.h"

#include "platform/db/capacidades.h"
#include "platform/db/formato_log.h"
#include "platform/db/interno.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <string_view>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

bool mesmo(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Every place by its folder's descriptor: the names the engine is given
// lead through it.
std::mutex guarda_lugares;
std::map<int, std::weak_ptr<Lugar_Jogo>>& lugares() {
    static std::map<int, std::weak_ptr<Lugar_Jogo>> m;
    return m;
}

constexpr std::string_view Pela_Pasta = "/proc/self/fd/";
// A log or journal set aside, before it is removed, or while a rewrite puts
// another file under the game's name.
constexpr const char* De_Lado = ".gvantigo";

// Whether the system reaches a file through an open descriptor by name.
bool pelo_descritor() {
    static const bool ha = ::access("/proc/self/fd", X_OK) == 0;
    return ha;
}

// The place a name given to the engine leads through, and the file's name
// in its folder.
std::shared_ptr<Lugar_Jogo> de_quem(const char* caminho, std::string& nome) {
    std::string_view c(caminho);
    if (c.substr(0, Pela_Pasta.size()) != Pela_Pasta) return nullptr;
    c.remove_prefix(Pela_Pasta.size());
    const auto barra = c.find('/');
    int fd = -1;
    if (barra == std::string_view::npos || std::from_chars(c.data(), c.data() + barra, fd).ptr != c.data() + barra)
        return nullptr;
    nome = std::string(c.substr(barra + 1));
    if (nome.empty() || nome.find('/') != std::string::npos) return nullptr;
    std::lock_guard<std::mutex> l(guarda_lugares);
    const auto it = lugares().find(fd);
    return it == lugares().end() ? nullptr : it->second.lock();
}

sqlite3_syscall_ptr abrir_do_sistema = nullptr, apagar_do_sistema = nullptr;

int abrir_pelo_lugar(const char* caminho, int flags, int modo) {
    std::string nome;
    if (auto l = de_quem(caminho, nome)) return l->abrir_no_motor(nome, flags, modo);
    return reinterpret_cast<int (*)(const char*, int, int)>(abrir_do_sistema)(caminho, flags, modo);
}

int apagar_pelo_lugar(const char* caminho) {
    std::string nome;
    if (auto l = de_quem(caminho, nome)) return l->apagar_no_motor(nome);
    return reinterpret_cast<int (*)(const char*)>(apagar_do_sistema)(caminho);
}

// The file `nome` of the folder removed, only while it is the file `quem`.
void apagar_se(int pasta, const std::string& nome, const struct stat& quem) {
    struct stat st {};
    if (::fstatat(pasta, nome.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && mesmo(st, quem))
        ::unlinkat(pasta, nome.c_str(), 0);
}

// The file open at `de` copied whole, synced, into a new file `nome` of the
// folder, made without a name (or, where the folder cannot, under a
// temporary name of the game's own) and named only once whole, so that a
// kill midway leaves nothing under it: its descriptor; -1 with EEXIST when
// a file has that name already (never written over), or with the cause
// when it could not be made whole (nothing left of it).
int copiar(int pasta, int de, const std::string& nome) {
    std::string temporario;
    Bloqueio_Jogo feita;
    int fd = criar_sem_nome(pasta, 0644);
    if (fd < 0 && errno != EOPNOTSUPP) return -1;
    if (fd < 0) {
        feita = criar_temporario(pasta, temporario);
        if (!feita.tomado()) return -1;
        // Held while it is made, so that no cleaner takes it; what is kept
        // of it is not held.
        fd = reabrir(feita.descritor(), O_RDWR);
        if (fd < 0) return ::unlinkat(pasta, temporario.c_str(), 0), -1;
    }
    bool inteira = true;
    try {
        inteira = copiar_inteiro(de, fd) == Copiado::Inteiro;
    } catch (const std::exception&) {
        inteira = false;   // a read that failed, as a test makes it
        errno = EIO;
    }
    inteira = inteira && ::fsync(fd) == 0;
    if (inteira) {
        ponto_de_falha("copiar.nomear");
        inteira = (temporario.empty() ? nomear_sem_nome(fd, pasta, nome)
                                      : renomear_sem_substituir(pasta, temporario, nome)) == 0;
    }
    if (!inteira) {
        const int erro = errno;
        if (!temporario.empty()) ::unlinkat(pasta, temporario.c_str(), 0);
        ::close(fd);
        errno = erro;
        return -1;
    }
    return fd;
}

// The path the system has for what is open at fd, less the mark of one
// with no name left; empty when it does not say.
std::string caminho_do_descritor(int fd) {
    char ligacao[64], nome[4096];
    std::snprintf(ligacao, sizeof ligacao, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(ligacao, nome, sizeof nome);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof nome) return {};
    std::string p(nome, static_cast<std::size_t>(n));
    constexpr std::string_view apagada = " (deleted)";
    if (p.size() > apagada.size() && p.compare(p.size() - apagada.size(), apagada.size(), apagada) == 0)
        p.resize(p.size() - apagada.size());
    return p;
}

// Where the file open at fd is now: under another name in the folder open
// at `pasta`, or where the system finds it, checked; empty when it has no
// name left.
std::string achar(int pasta, int fd) {
    struct stat f {}, n {};
    if (::fstat(fd, &f) != 0 || sem_nomes(pasta, fd)) return {};
    std::string achado;
    if (DIR* d = ::fdopendir(::openat(pasta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {
        while (const dirent* e = ::readdir(d))
            if (e->d_ino == f.st_ino && !nome_escondido(pasta, e->d_name) &&
                ::fstatat(pasta, e->d_name, &n, AT_SYMLINK_NOFOLLOW) == 0 && mesmo(n, f)) {
                achado = e->d_name;
                break;
            }
        ::closedir(d);
    }
    if (!achado.empty()) return (fs::path(caminho_do_descritor(pasta)) / achado).string();
    const std::string onde = caminho_do_descritor(fd);
    return !onde.empty() && !nome_escondido(pasta, fs::path(onde).filename().string()) &&
                   ::stat(onde.c_str(), &n) == 0 && mesmo(n, f)
               ? onde
               : std::string();
}

// A folder with no name left: deleted, or moved to another disk.
bool sem_nome(int pasta) {
    struct stat st {};
    return ::fstat(pasta, &st) == 0 && st.st_nlink == 0;
}

// Size and times as they were: nothing was written since.
bool como_estava(const struct stat& a, const struct stat& b) {
    return mesmo(a, b) && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ctim.tv_sec == b.st_ctim.tv_sec &&
           a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// The first bytes of the file open at fd, into `v`: every commit of the
// game gives its first page new ones (its marks, enciphered afresh).
void ler_inicio(int fd, off_t tamanho, std::vector<unsigned char>& v) {
    v.resize(static_cast<std::size_t>(std::min<off_t>(tamanho, 4096)));
    v.resize(ler_em(fd, v.data(), v.size(), 0));
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

Copiado copiar_inteiro(int de, int para) {
    struct stat origem {};
    if (::fstat(de, &origem) != 0) return Copiado::Leitura_Falhou;
    std::vector<char> bloco(1 << 16);
    for (off_t onde = 0; onde < origem.st_size;) {
        ponto_de_falha("copiar.ler");
        const auto quer = static_cast<std::size_t>(std::min<off_t>(static_cast<off_t>(bloco.size()), origem.st_size - onde));
        errno = 0;
        if (ler_em(de, bloco.data(), quer, onde) != quer) return errno = errno ? errno : EIO, Copiado::Leitura_Falhou;
        for (std::size_t feito = 0; feito < quer;) {
            const ssize_t w = ::pwrite(para, bloco.data() + feito, quer - feito, onde + static_cast<off_t>(feito));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return errno = w < 0 ? errno : ENOSPC, Copiado::Escrita_Falhou;
            feito += static_cast<std::size_t>(w);
        }
        onde += static_cast<off_t>(quer);
    }
    return Copiado::Inteiro;
}

void instalar_lugares() {
    static const bool feito = [] {
        sqlite3_vfs* unix_ = sqlite3_vfs_find("unix");
        if (!unix_ || unix_->iVersion < 3 || !pelo_descritor()) return false;
        abrir_do_sistema = unix_->xGetSystemCall(unix_, "open");
        apagar_do_sistema = unix_->xGetSystemCall(unix_, "unlink");
        return abrir_do_sistema && apagar_do_sistema &&
               unix_->xSetSystemCall(unix_, "open", reinterpret_cast<sqlite3_syscall_ptr>(&abrir_pelo_lugar)) ==
                   SQLITE_OK &&
               unix_->xSetSystemCall(unix_, "unlink", reinterpret_cast<sqlite3_syscall_ptr>(&apagar_pelo_lugar)) ==
                   SQLITE_OK;
    }();
    (void)feito;
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
}

void Lugar_Jogo::anotar() {
    if (anotado_) return;
    nota_ = Nota_Aberto::tomar(pasta_, nome_, escolhido_, sal());
    anotado_ = true;
}

std::string Lugar_Jogo::sal() const {
    const int fd = ficheiro_.tomado() ? ::dup(ficheiro_.descritor())
                                      : ::openat(pasta_, nome_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    unsigned char b[16];
    const std::size_t n = ler_em(fd, b, sizeof b, 0);
    ::close(fd);
    static constexpr char Hex[] = "0123456789abcdef";
    std::string r;
    for (std::size_t i = 0; i < n; ++i) r += {Hex[b[i] >> 4], Hex[b[i] & 15]};
    return r;
}

void Lugar_Jogo::segurar(Bloqueio_Jogo b) { ficheiro_ = std::move(b); }

std::uintmax_t Lugar_Jogo::tamanho() const {
    struct stat st {};
    const bool visto = ficheiro_.tomado() ? ::fstat(ficheiro_.descritor(), &st) == 0
                                          : ::fstatat(pasta_, nome_.c_str(), &st, 0) == 0;
    return visto ? static_cast<std::uintmax_t>(st.st_size) : 0;
}

bool Lugar_Jogo::nomeia() const { return ficheiro_.nomeia(pasta_, nome_); }

unsigned Lugar_Jogo::nomes() const { return ficheiro_.tomado() ? nomes_visiveis(pasta_, ficheiro_.descritor()) : 0; }

std::string Lugar_Jogo::no_motor(const std::string& nome) const {
    if (!pelo_descritor()) return (fs::path(caminho_).parent_path() / nome).string();
    return std::string(Pela_Pasta) + std::to_string(pasta_) + "/" + nome;
}

std::vector<Lugar_Jogo::Ao_Lado> Lugar_Jogo::ver_ao_lado() {
    std::vector<Ao_Lado> r;
    for (Lado l : {Log, Diario}) {
        const std::string nome = nome_ + Sufixos[l], s = caminho_ + Sufixos[l];
        struct stat st {};
        // Set aside by a rewrite or a close that a kill stopped there: back
        // under its name, to be judged.
        const std::string posto = nome + De_Lado;
        posto_[l] = ::fstatat(pasta_, posto.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
                    !segura_noutra_janela(pasta_, posto) && devolver(pasta_, posto, nome, st);
        if (::fstatat(pasta_, nome.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) continue;
            falha_do_sistema(s);
        }
        if (!S_ISREG(st.st_mode)) nao_e_ficheiro(caminho_, s);
        // Without following a link or waiting on a pipe put there meanwhile.
        const int fd = ::openat(pasta_, nome.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
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
    }
    return r;
}

void Lugar_Jogo::remover_posto(bool log) {
    const Lado l = log ? Log : Diario;
    if (ao_lado_[l].nomeia(pasta_, nome_ + Sufixos[l])) remover_lado(l);
    ao_lado_[l] = Bloqueio_Jogo();
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

Erro_BD Lugar_Jogo::perdido(Perda perda) {
    Erro_BD e = ficheiro_movido(caminho_);
    e.com_paradeiro(perda, [eu = shared_from_this(), perda] { return eu->paradeiro(perda); });
    return e;
}

std::string Lugar_Jogo::pasta_agora() const {
    const std::string p = caminho_do_descritor(pasta_);
    return p.empty() ? fs::path(caminho_).parent_path().string() : p;
}

std::string Lugar_Jogo::outro_nome() const {
    if (!ficheiro_.tomado()) return {};
    if (nomeia()) return (fs::path(pasta_agora()) / nome_).string();
    return achar(pasta_, ficheiro_.descritor());
}

int Lugar_Jogo::pasta_da_copia() const {
    if (!sem_nome(pasta_)) return ::fcntl(pasta_, F_DUPFD_CLOEXEC, 0);
    // The folder the game's path names now, if there is one to write in;
    // else the player's own.
    const std::string junto = fs::path(caminho_).parent_path().string();
    const int fd = ::open(junto.empty() ? "." : junto.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 && !sem_nome(fd) && ::faccessat(fd, ".", W_OK | X_OK, AT_EACCESS) == 0) return fd;
    if (fd >= 0) ::close(fd);
    std::error_code ec;
    fs::create_directories(pasta_dados(), ec);
    return ::open(pasta_dados().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

bool Lugar_Jogo::guardar_copia(int pasta) {
    if (!ficheiro_.tomado()) return false;
    // What the log holds past the file goes with it, so that the two read
    // as the game read; named first, so that the copy never has its name
    // without it.
    const bool com_log = log_com_commits();
    const fs::path p(nome_);
    for (int n = 2; n < 100; ++n) {
        const std::string nome = p.stem().string() + " (" + std::to_string(n) + ")" + p.extension().string();
        int log = -1;
        if (com_log) {
            log = copiar(pasta, ao_lado_[Log].descritor(), nome + Sufixos[Log]);
            if (log < 0 && errno == EEXIST) continue;
            if (log < 0) return erro_copia_ = errno, false;
        }
        const int fd = copiar(pasta, ficheiro_.descritor(), nome);
        const int erro = errno;
        if (log >= 0) {
            struct stat st {};
            if (fd < 0 && ::fstat(log, &st) == 0) apagar_se(pasta, nome + Sufixos[Log], st);   // made here: nobody else's
            ::close(log);
        }
        if (fd < 0 && erro == EEXIST) continue;
        if (fd < 0) return erro_copia_ = erro, false;
        ::fsync(pasta);
        copia_ = fd;
        pasta_copia_ = ::fcntl(pasta, F_DUPFD_CLOEXEC, 0);
        nome_copia_ = nome;
        return true;
    }
    erro_copia_ = EEXIST;
    return false;
}

std::string Lugar_Jogo::onde_copia() {
    struct stat c {}, n {};
    if (copia_ < 0 || ::fstat(copia_, &c) != 0 || sem_nomes(pasta_copia_, copia_)) return {};
    if (::fstatat(pasta_copia_, nome_copia_.c_str(), &n, AT_SYMLINK_NOFOLLOW) == 0 && mesmo(n, c))
        return (fs::path(caminho_do_descritor(pasta_copia_)) / nome_copia_).string();
    return achar(pasta_copia_, copia_);
}

bool Lugar_Jogo::dizer_de_novo() { return copia_por_fazer_ || (copia_ >= 0 && onde_copia() != dito_); }

Paradeiro Lugar_Jogo::paradeiro(Perda perda) {
    Paradeiro p;
    struct stat f {}, n {}, c {};
    const bool visto = ficheiro_.tomado() && ::fstat(ficheiro_.descritor(), &f) == 0;
    p.apagado = visto && sem_nomes(pasta_, ficheiro_.descritor());
    // The copy put back under the game's name is no other file.
    p.nome_ocupado = ::fstatat(pasta_, nome_.c_str(), &n, AT_SYMLINK_NOFOLLOW) == 0 && !(visto && mesmo(f, n)) &&
                     !(copia_ >= 0 && ::fstat(copia_, &c) == 0 && mesmo(c, n));
    p.pasta_perdida = sem_nome(pasta_);
    p.pasta = pasta_agora();
    if (!visto || perda == Perda::Nada) return p;
    // The file itself, when it holds everything.
    if (copia_ < 0 && !log_com_commits())
        if (std::string onde = outro_nome(); !onde.empty()) {
            p.onde = Paradeiro::Onde::Nome;
            p.caminho = onde;
            return p;
        }
    // The copy, where it is now; made again when it is gone.
    std::string onde = onde_copia();
    if (onde.empty()) {
        if (copia_ >= 0) ::close(copia_), ::close(pasta_copia_);
        copia_ = pasta_copia_ = -1;
        const int pasta = pasta_da_copia();
        if (pasta < 0) erro_copia_ = errno;
        copia_por_fazer_ = pasta < 0 || !guardar_copia(pasta);
        p.caminho = pasta < 0 ? pasta_dados() : caminho_do_descritor(pasta);
        if (pasta >= 0) ::close(pasta);
        if (copia_por_fazer_) {
            p.erro = erro_copia_;
            return p;
        }
        onde = onde_copia();
    }
    p.onde = Paradeiro::Onde::Copia;
    p.caminho = dito_ = onde;
    return p;
}

int Lugar_Jogo::abrir_no_motor(const std::string& nome, int flags, int modo) {
    try {
        if (nome == nome_ && ficheiro_.tomado()) return reabrir(ficheiro_.descritor(), flags);
        for (Lado l : {Log, Diario})
            if (nome == nome_ + Sufixos[l]) return abrir_ao_lado(l, flags, modo);
        return ::openat(pasta_, nome.c_str(), flags, modo);
    } catch (const std::exception&) {
        errno = EIO;   // a test's failure at a point here: never thrown through the engine
        return -1;
    }
}

int Lugar_Jogo::abrir_ao_lado(Lado l, int flags, int modo) {
    const std::string nome = nome_ + Sufixos[l];
    Bloqueio_Jogo& lado = ao_lado_[l];
    if (!lado.tomado()) {
        // Made here, or found empty: a log or journal this game did not make
        // and the load did not judge is another's, and is never taken.
        int fd = (flags & O_CREAT)
                     ? ::openat(pasta_, nome.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo)
                     : -1;
        const bool feito = fd >= 0;
        if (!feito) fd = ::openat(pasta_, nome.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return -1;
        Bloqueio_Jogo b = Bloqueio_Jogo::do_descritor(fd);
        if (!b.tomado()) {
            if (flags & O_CREAT) recusar(Erro_BD(SQLITE_BUSY, "Ao lado de " + caminho_ + " está " + nome +
                                                                  ", que outra janela escreve",
                                                 Erro_BD::Tipo::Sobra_Noutra_Janela, caminho_ + Sufixos[l]));
            errno = EBUSY;
            return -1;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (!feito && st.st_size != 0)) {
            // Whether the engine was making it or looking for one to play back.
            recusar(Erro_BD(ERRO_FICHEIRO, "Ao lado de " + caminho_ + " apareceu " + nome, Erro_BD::Tipo::Sobra_Alheia,
                            caminho_ + Sufixos[l]));
            errno = ENOENT;
            return -1;
        }
        ponto_de_falha(l == Log ? "lugar.log" : "lugar.diario");
        // Only beside the game held: one whose name names another file
        // now gets no log or journal of this one's.
        if (!nomeia()) {
            if (feito) apagar_se(pasta_, nome, st);
            recusar(ficheiro_movido(caminho_));
            errno = ESTALE;
            return -1;
        }
        lado = std::move(b);
    }
    // One held is the game's own, wherever its name is now: what it holds
    // goes into the file held.
    return reabrir(lado.descritor(), flags);
}

int Lugar_Jogo::apagar_no_motor(const std::string& nome) {
    try {
        for (Lado l : {Log, Diario}) {
            if (nome != nome_ + Sufixos[l]) continue;
            Bloqueio_Jogo& lado = ao_lado_[l];
            // One this game neither made nor took is not its to remove.
            if (!lado.tomado()) return 0;
            ponto_de_falha("lugar.remover");
            // What the engine removes holds nothing the file needs: where
            // it cannot be sure the name is the game's own beside the game
            // held, it is left holding nothing.
            if (!(nomeia() && lado.nomeia(pasta_, nome) && remover_lado(l)) &&
                (::ftruncate(lado.descritor(), 0) != 0 || ::fsync(lado.descritor()) != 0)) {
                return -1;
            }
            lado = Bloqueio_Jogo();
            return 0;
        }
        return ::unlinkat(pasta_, nome.c_str(), 0);
    } catch (const std::exception&) {
        errno = EIO;
        return -1;
    }
}

void Lugar_Jogo::substituir(const std::string& de, bool havia) {
    // Held before it takes the name, the old file's hold kept until then.
    Bloqueio_Jogo novo = Bloqueio_Jogo::tomar(pasta_, de, de);
    ponto_de_falha("lugar.substituir");
    if (havia ? !nomeia() : ocupado()) throw perdido(Perda::Nada);
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

void Lugar_Jogo::deixado() {
    if (alterado_ >= 0) return;
    const int fds[2] = {ficheiro_.descritor(), ao_lado_[Log].descritor()};
    for (int i : {0, 1}) {
        Deixado& d = deixado_[i];
        d.visto = fds[i] >= 0 && ::fstat(fds[i], &d.st) == 0;
        if (d.visto) ler_inicio(fds[i], d.st.st_size, d.inicio);
    }
}

bool Lugar_Jogo::alterado() {
    if (alterado_ >= 0) return true;
    const int fds[2] = {ficheiro_.descritor(), ao_lado_[Log].descritor()};
    for (int i : {0, 1}) {
        Deixado& d = deixado_[i];
        struct stat st {};
        // One this window has not left yet (a log made since) is left at the
        // transaction's end.
        if (!d.visto || fds[i] < 0 || ::fstat(fds[i], &st) != 0 || !mesmo(st, d.st) || como_estava(st, d.st))
            continue;
        std::vector<unsigned char> agora;
        if (st.st_size == d.st.st_size && (ler_inicio(fds[i], st.st_size, agora), agora == d.inicio)) {
            d.st = st;   // touched, made read-only, linked: as it was
            continue;
        }
        alterado_ = i;
        return true;
    }
    return false;
}

Erro_BD Lugar_Jogo::alterado_por_outro() const {
    const std::string qual = alterado_ == 1 ? caminho_ + Sufixos[Log] : caminho_;
    return Erro_BD(ERRO_FICHEIRO, "Outro programa escreveu em " + qual + " enquanto o jogo estava aberto",
                   Erro_BD::Tipo::Ficheiro_Alterado, qual);
}

void Lugar_Jogo::largar_alterados() {
    struct stat f {}, l {};
    const bool com_f = ficheiro_.tomado() && ::fstat(ficheiro_.descritor(), &f) == 0;
    const bool com_l = ao_lado_[Log].tomado() && ::fstat(ao_lado_[Log].descritor(), &l) == 0;
    // Every other descriptor of the two in this process is the engine's.
    const int nada = ::memfd_create("golvantario-largado", MFD_CLOEXEC);
    DIR* d = nada >= 0 ? ::opendir("/proc/self/fd") : nullptr;
    std::vector<int> do_motor;
    while (const dirent* e = d ? ::readdir(d) : nullptr) {
        int fd = -1;
        struct stat st {};
        const std::string_view n(e->d_name);
        if (std::from_chars(n.data(), n.data() + n.size(), fd).ptr != n.data() + n.size() || fd == ::dirfd(d) ||
            fd == nada || fd == ficheiro_.descritor() || fd == ao_lado_[Log].descritor() || ::fstat(fd, &st) != 0)
            continue;
        if ((com_f && mesmo(st, f)) || (com_l && mesmo(st, l))) do_motor.push_back(fd);
    }
    if (d) ::closedir(d);
    for (int fd : do_motor) ::dup3(nada, fd, O_CLOEXEC);
    if (nada >= 0) ::close(nada);
    // The log this window made goes, unless the other wrote it.
    if (com_l && alterado_ != 1 && ao_lado_[Log].nomeia(pasta_, nome_ + Sufixos[Log])) remover_lado(Log);
    ao_lado_[Log] = Bloqueio_Jogo();
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
