#include "platform/db/bloqueio_jogo.h"

#include "platform/db/alternativas.h"
#include "platform/db/lugar_interno.h"
#include "platform/db/maquina.h"
#include "platform/db/database.h"
#include "platform/falhas.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <thread>
#include <system_error>

namespace gv::db {

namespace {

// The engine's lock bytes: pending, reserved and the shared range.
constexpr off_t Bytes_Do_Motor = 0x40000000;
constexpr off_t Tamanho_Do_Motor = 2 + 510;
// Ours lies past them, where no engine looks: for a window of another
// machine a test stands for, another byte, as its locks never reach here.
off_t byte_do_jogo() { return Bytes_Do_Motor + 0x10000 + desvio_dos_trincos(); }

bool trancar(int fd, short tipo, off_t inicio, off_t tamanho) {
    struct flock l {};
    l.l_type = tipo;
    l.l_whence = SEEK_SET;
    l.l_start = inicio;
    l.l_len = tamanho;
    return ::fcntl(fd, F_OFD_SETLK, &l) == 0;
}

bool ocupado(int erro) { return erro == EACCES || erro == EAGAIN; }

[[noreturn]] void nao_abre(const std::string& caminho) {
    const std::error_code sis(errno, std::generic_category());
    throw Erro_BD(ERRO_FICHEIRO, "Não foi possível abrir " + caminho + ": " + sis.message(), tipo_do_sistema(sis),
                  caminho);
}

// Whether `nome` in the folder still names the file open at fd: a file
// replaced under its name between the open and the lock is held no more by
// anyone.
bool ainda_o_mesmo(int fd, int pasta, const std::string& nome) {
    struct stat aberto {}, nomeado {};
    return ::fstat(fd, &aberto) == 0 && ::fstatat(pasta, nome.c_str(), &nomeado, AT_SYMLINK_NOFOLLOW) == 0 &&
           mesmo(aberto, nomeado);
}

// The game's byte of the file `nome` in the folder, locked on a descriptor
// of its own; the name looked at again once locked, and all begun again
// when it has been given to another file meanwhile. -1 and errno when it is
// not locked, `ocupada` when another holds it.
int trancar_nome(int pasta, const std::string& nome, int flags, bool& ocupada) {
    ocupada = false;
    for (int vez = 0;; ++vez) {
        const int fd = ::openat(pasta, nome.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) return -1;
        ponto_de_falha("bloqueio.aberto");
        if (!trancar(fd, F_WRLCK, byte_do_jogo(), 1)) {
            const int erro = errno;
            ocupada = ocupado(erro);
            ::close(fd);
            errno = erro;
            return -1;
        }
        if (ainda_o_mesmo(fd, pasta, nome) || vez == 100) return fd;
        ::close(fd);
    }
}

// A file that cannot be opened to be written, or a file system without
// these locks: nothing to tell windows apart by.
bool sem_trincos(int erro, bool escrita) {
    return erro == EINVAL || erro == ENOLCK || erro == EOPNOTSUPP ||
           (escrita && (erro == EACCES || erro == EROFS || erro == EPERM));
}

// The mark written whole at the start of the file open at fd.
bool escrever_marca(int fd, std::string_view marca) {
    const ssize_t n = ::pwrite(fd, marca.data(), marca.size(), 0);
    if (n >= 0 && static_cast<std::size_t>(n) != marca.size()) errno = ENOSPC;
    return n >= 0 && static_cast<std::size_t>(n) == marca.size();
}

// A making's hold born marked: made with no name in the folder, the mark
// written and the game's byte locked, and only then given the name `obra`,
// never over a file that has it. -1 and errno when it is not (EEXIST: a
// file has the name; EOPNOTSUPP: the folder makes no file without a name),
// nothing of it left; `sem_trinco` when the folder's file system has no
// such locks.
int nascer_marcada(int pasta, const std::string& obra, std::string_view marca, bool& sem_trinco) {
    const int fd = criar_anonimo(pasta, 0666);
    if (fd < 0) return -1;
    if (escrever_marca(fd, marca)) {
        if (trancar(fd, F_WRLCK, byte_do_jogo(), 1)) {
            ponto_de_falha("obra.marcada");
            if (nomear_anonimo(fd, pasta, obra) == 0) return fd;
        } else {
            sem_trinco = sem_trincos(errno, false);
        }
    }
    const int erro = errno;
    ::close(fd);
    errno = erro;
    return -1;
}

} // namespace

Bloqueio_Jogo Bloqueio_Jogo::tomar(int pasta, const std::string& nome, const std::string& quem) {
    Bloqueio_Jogo b;
    bool ocupada;
    // Never waiting on a pipe put under the name meanwhile.
    b.fd_ = trancar_nome(pasta, nome, O_RDWR | O_NONBLOCK, ocupada);
    if (b.fd_ >= 0) {
        struct stat st {};
        if (::fstat(b.fd_, &st) == 0 && S_ISREG(st.st_mode)) {
            static_cast<void>(::fcntl(b.fd_, F_SETFL, 0));
            return b;
        }
        // A pipe or a device is no game, and is left as it is, unread.
        b = Bloqueio_Jogo();
        throw Erro_BD(ERRO_FICHEIRO, "Não é um ficheiro comum: " + nome, Erro_BD::Tipo::Sem_Ficheiro,
                      quem.empty() ? nome : quem);
    }
    const int erro = errno;
    if (!ocupada && (erro == EACCES || erro == EROFS || erro == EPERM)) {
        // A file this window cannot write: another window's hold on it is
        // read, not taken.
        ocupada = segura_noutra_janela(pasta, nome);
        errno = erro;
    }
    if (ocupada)
        throw Erro_BD(SQLITE_BUSY, "O jogo está aberto noutra janela: " + nome, Erro_BD::Tipo::Noutra_Janela,
                      quem.empty() ? nome : quem);
    if (sem_trincos(errno, true)) return b;
    nao_abre(quem.empty() ? nome : quem);
}

Bloqueio_Jogo Bloqueio_Jogo::tomar_obra(int pasta, const std::string& obra, const std::string& jogo,
                                         std::string_view marca, int espera_ms, bool* feita) {
    Bloqueio_Jogo b;
    bool feita_aqui = false;
    if (!feita) feita = &feita_aqui;
    *feita = false;
    bool ocupada = false, sem_anonimos = false;
    const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(espera_ms);
    for (;;) {
        // The hold there, judged by whoever takes it.
        b.fd_ = trancar_nome(pasta, obra, O_RDWR | O_NONBLOCK, ocupada);
        if (b.fd_ >= 0) return b;
        if (!ocupada && errno == ENOENT) {
            if (!sem_anonimos) {
                bool sem_trinco = false;
                b.fd_ = nascer_marcada(pasta, obra, marca, sem_trinco);
                *feita = b.fd_ >= 0;
                if (b.fd_ >= 0 || sem_trinco) return b;
                if (errno == EEXIST) continue;   // made meanwhile by another: that one is looked at
                sem_anonimos = true;
            }
            // No file is made without a name here: the making's intent,
            // naming its hold, is made first under a temporary name of the
            // game's own; then the hold by its name, then its mark; then the
            // intent goes. A kill between leaves the intent, and the
            // folder's cleaner takes the empty hold it names with it.
            std::string intento;
            const Bloqueio_Jogo i = criar_temporario(pasta, intento);
            if (!i.tomado() || !escrever_marca(i.descritor(), std::string(marca) + obra)) {
                const int erro = errno;
                if (i.tomado()) ::unlinkat(pasta, intento.c_str(), 0);
                errno = erro;
                nao_abre(obra);
            }
            ponto_de_falha("obra.intento");
            b.fd_ = trancar_nome(pasta, obra, O_RDWR | O_CREAT | O_EXCL | O_NONBLOCK, ocupada);
            ponto_de_falha("obra.feita");
            if (b.fd_ >= 0 && !escrever_marca(b.fd_, marca)) {
                const int erro = errno;
                b = Bloqueio_Jogo();
                ::unlinkat(pasta, obra.c_str(), 0);
                ::unlinkat(pasta, intento.c_str(), 0);
                errno = erro;
                nao_abre(obra);
            }
            const int erro = errno;
            ::unlinkat(pasta, intento.c_str(), 0);
            errno = erro;
            *feita = b.fd_ >= 0;
            if (b.fd_ >= 0) return b;
            if (errno == EEXIST) continue;
        }
        if (!ocupada || std::chrono::steady_clock::now() >= limite) break;
        ponto_de_falha("obra.esperar");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (ocupada)
        throw Erro_BD(SQLITE_BUSY, "O jogo está a ser criado noutra janela: " + jogo,
                      Erro_BD::Tipo::Criado_Noutra_Janela, jogo);
    if (sem_trincos(errno, false)) return b;
    nao_abre(obra);
}

Bloqueio_Jogo Bloqueio_Jogo::do_descritor(int fd) {
    Bloqueio_Jogo b;
    b.fd_ = fd;
    if (fd >= 0 && !trancar(fd, F_WRLCK, byte_do_jogo(), 1) && ocupado(errno)) {
        b.fd_ = -1;
        ::close(fd);
        errno = EBUSY;
    }
    return b;
}

bool Bloqueio_Jogo::nomeia(int pasta, const std::string& nome) const {
    return fd_ >= 0 && ainda_o_mesmo(fd_, pasta, nome);
}

bool segura_noutra_janela(int pasta, const std::string& nome) {
    const int fd = ::openat(pasta, nome.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    const bool sim = fd >= 0 && segura_noutra_janela(fd);
    if (fd >= 0) ::close(fd);
    return sim;
}

bool segura_noutra_janela(int fd) {
    struct flock l {};
    l.l_type = F_WRLCK;
    l.l_whence = SEEK_SET;
    l.l_start = byte_do_jogo();
    l.l_len = 1;
    return ::fcntl(fd, F_OFD_GETLK, &l) == 0 && l.l_type != F_UNLCK;
}

Bloqueio_Jogo::~Bloqueio_Jogo() {
    if (fd_ >= 0) ::close(fd_);
}

Bloqueio_Jogo& Bloqueio_Jogo::operator=(Bloqueio_Jogo&& o) noexcept {
    if (this != &o) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = o.fd_;
        o.fd_ = -1;
    }
    return *this;
}

void sobra_noutra_janela(const std::string& caminho, const std::string& sobra) {
    throw Erro_BD(SQLITE_BUSY, "Ao lado de " + caminho + " está " + sobra + ", que outra janela escreve",
                  Erro_BD::Tipo::Sobra_Noutra_Janela, sobra);
}

int reabrir(int fd, int flags) {
    char nome[64];
    std::snprintf(nome, sizeof nome, "/proc/self/fd/%d", fd);
    return ::open(nome, (flags & ~(O_CREAT | O_EXCL | O_TRUNC | O_NOFOLLOW)) | O_CLOEXEC);
}

Leitura_Partilhada::Leitura_Partilhada(int fd, const std::string& caminho) : fd_(reabrir(fd, O_RDONLY)) {
    if (fd_ < 0) nao_abre(caminho);
    if (!trancar(fd_, F_RDLCK, Bytes_Do_Motor, Tamanho_Do_Motor) && ocupado(errno)) {
        ::close(fd_);
        throw Erro_BD(SQLITE_BUSY, "O ficheiro está a ser usado por outro programa: " + caminho,
                      Erro_BD::Tipo::Bloqueada, caminho);
    }
}

Leitura_Partilhada::~Leitura_Partilhada() { ::close(fd_); }

} // namespace gv::db
