// What a folder's file system can do: known by its kind for the disks of
// this machine, else tried once in the folder, with files of the game's
// own that the cleaner knows; and the save path's steps that depend on it.

#include "platform/db/capacidades.h"

#include "platform/db/interno.h"
#include "platform/db/lugar_interno.h"
#include "platform/falhas.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <vector>

namespace gv::db {

namespace {

// The kinds of file system by their magic number (statfs).
constexpr long Fuse = 0x65735546;
// Disks of this machine that do all the save path asks.
constexpr long Completos[] = {
    0xEF53,       // ext2, ext3, ext4
    0x58465342,   // xfs
    0x9123683E,   // btrfs
    0x01021994,   // tmpfs
    0xF2F52010,   // f2fs
};

constexpr std::string_view Novo = ".gvnovo-";
// The names a file deleted while open is kept under: FUSE's, and the NFS
// client's.
constexpr std::string_view Escondidos[] = {".fuse_hidden", ".nfs"};
constexpr long Nfs = 0x6969;

std::atomic<unsigned> retiradas{0};

// The kind the system names the file system of `dev` by (fuseblk,
// fuse.sshfs...), from the mounts this process sees.
std::string tipo_montado(dev_t dev) {
    std::ifstream m("/proc/self/mountinfo");
    const std::string id = std::to_string(major(dev)) + ":" + std::to_string(minor(dev));
    for (std::string linha; std::getline(m, linha);) {
        std::istringstream campos(linha);
        std::string a, b, c;
        campos >> a >> b >> c;
        if (c != id) continue;
        const auto traco = linha.find(" - ");
        if (traco == std::string::npos) continue;
        std::istringstream resto(linha.substr(traco + 3));
        std::string tipo;
        resto >> tipo;
        return tipo;
    }
    return {};
}

// What a rename and a link do there, tried on files of the game's own made
// for it and gone at once. False when the folder cannot be written to try.
bool experimentar(int pasta, Capacidades& c) {
    std::string a;
    Bloqueio_Jogo f = criar_temporario(pasta, a);
    if (!f.tomado()) return false;
    const std::string b = a + "-b";
    // A link is of use only where both names are seen as one file (sshfs
    // numbers each name apart).
    struct stat sa {}, sb {};
    const bool ligado = ::linkat(pasta, a.c_str(), pasta, b.c_str(), 0) == 0;
    c.ligacoes = ligado && ::fstatat(pasta, a.c_str(), &sa, AT_SYMLINK_NOFOLLOW) == 0 &&
                 ::fstatat(pasta, b.c_str(), &sb, AT_SYMLINK_NOFOLLOW) == 0 && mesmo(sa, sb);
    if (ligado) ::unlinkat(pasta, b.c_str(), 0);
    c.sem_substituir = ::renameat2(pasta, a.c_str(), pasta, b.c_str(), RENAME_NOREPLACE) == 0;
    ::unlinkat(pasta, (c.sem_substituir ? b : a).c_str(), 0);
    return true;
}

Capacidades sondar(int pasta, const struct stat& st) {
    Capacidades c;
    struct statfs sf {};
    if (::fstatfs(pasta, &sf) != 0) return c;
    for (long k : Completos)
        if (static_cast<long>(sf.f_type) == k) return c;
    c.esconde_apagados = sf.f_type == Nfs;
    c.tempos_fieis = false;
    if (sf.f_type == Fuse) {
        c.esconde_apagados = true;
        // One on a block device of this machine is this machine's alone.
        c.trincos_partilhados = tipo_montado(st.st_dev) == "fuseblk";
    }
    const int t = ::openat(pasta, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    c.sem_nome = t >= 0;
    if (t >= 0) ::close(t);
    if (!experimentar(pasta, c)) c.ligacoes = c.sem_substituir = false;
    return c;
}

} // namespace

Capacidades capacidades(int pasta) {
    static std::mutex guarda;
    static std::map<dev_t, Capacidades> sabidas;
    struct stat st {};
    Capacidades c;
    if (::fstat(pasta, &st) == 0) {
        std::lock_guard<std::mutex> g(guarda);
        const auto it = sabidas.find(st.st_dev);
        if (it != sabidas.end()) {
            c = it->second;
        } else {
            c = sondar(pasta, st);
            // Kept once tried where the folder could be written.
            if (c.ligacoes || c.sem_substituir || ::faccessat(pasta, ".", W_OK, AT_EACCESS) == 0)
                sabidas[st.st_dev] = c;
        }
    }
    const unsigned r = retiradas.load();
    if (r & Cap_Sem_Nome) c.sem_nome = false;
    if (r & Cap_Sem_Substituir) c.sem_substituir = false;
    if (r & Cap_Ligacoes) c.ligacoes = false;
    if (r & Cap_Esconde_Apagados) c.esconde_apagados = true;
    if (r & Cap_Trincos_Partilhados) c.trincos_partilhados = false;
    if (r & Cap_Tempos_Fieis) c.tempos_fieis = false;
    return c;
}

void retirar_capacidades(unsigned quais) { retiradas = quais; }

unsigned capacidades_de_nomes(std::string_view nomes) {
    unsigned r = 0;
    while (!nomes.empty()) {
        const auto virgula = nomes.find(',');
        const std::string_view n = nomes.substr(0, virgula);
        if (n == "sem-nome") r |= Cap_Sem_Nome;
        if (n == "sem-substituir") r |= Cap_Sem_Substituir;
        if (n == "ligacoes") r |= Cap_Ligacoes;
        if (n == "esconde") r |= Cap_Esconde_Apagados;
        if (n == "trincos") r |= Cap_Trincos_Partilhados;
        if (n == "tempos") r |= Cap_Tempos_Fieis;
        nomes.remove_prefix(virgula == std::string_view::npos ? nomes.size() : virgula + 1);
    }
    return r;
}

int criar_sem_nome(int pasta, int modo) {
    const Capacidades c = capacidades(pasta);
    if (!c.sem_nome || !c.ligacoes) return errno = EOPNOTSUPP, -1;
    return ::openat(pasta, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, modo);
}

Bloqueio_Jogo criar_temporario(int pasta, std::string& nome) {
    static std::atomic<unsigned> contador{0};
    for (int vez = 0; vez < 1000; ++vez) {
        char n[64];
        std::snprintf(n, sizeof n, "%.*s%d-%u", static_cast<int>(Novo.size()), Novo.data(), static_cast<int>(::getpid()),
                      contador++);
        const int fd = ::openat(pasta, n, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;   // another machine's, on a share
        if (fd < 0) return {};
        nome = n;
        return Bloqueio_Jogo::do_descritor(fd);
    }
    errno = EEXIST;
    return {};
}

int nomear_sem_nome(int fd, int pasta, const std::string& nome) {
    if (!capacidades(pasta).ligacoes) return errno = EPERM, -1;
    char sem_nome[64];
    std::snprintf(sem_nome, sizeof sem_nome, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, sem_nome, pasta, nome.c_str(), AT_SYMLINK_FOLLOW);
}

int renomear_sem_substituir(int pasta, const std::string& de, const std::string& para) {
    const Capacidades c = capacidades(pasta);
    if (c.sem_substituir) return ::renameat2(pasta, de.c_str(), pasta, para.c_str(), RENAME_NOREPLACE);
    if (c.ligacoes) {
        if (::linkat(pasta, de.c_str(), pasta, para.c_str(), 0) != 0) return -1;
        // Both names name it till the old one goes: whoever finds the two
        // lets the old one go (lugar.h, limpar_novos_orfaos).
        ponto_de_falha("renomear.ligado");
        return ::unlinkat(pasta, de.c_str(), 0) == 0 || errno == ENOENT ? 0 : -1;
    }
    struct stat st {};
    if (::fstatat(pasta, para.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return errno = EEXIST, -1;
    if (errno != ENOENT) return -1;
    return ::renameat(pasta, de.c_str(), pasta, para.c_str());
}

bool escondido(std::string_view nome) {
    for (std::string_view e : Escondidos)
        if (nome.substr(0, e.size()) == e) return true;
    return false;
}

bool nome_escondido(int pasta, std::string_view nome) {
    return escondido(nome) && capacidades(pasta).esconde_apagados;
}

bool nome_temporario(std::string_view nome) { return nome.substr(0, Novo.size()) == Novo; }

unsigned nomes_agora(int pasta, int fd) {
    struct stat f {};
    if (::fstat(fd, &f) != 0) return 0;
    if (!capacidades(pasta).esconde_apagados) return static_cast<unsigned>(f.st_nlink);
    // A user-space file system's count, asked of it now: the one the
    // system keeps may be a second old, and miss a name just given.
    struct statx x {};
    return ::statx(fd, "", AT_EMPTY_PATH | AT_STATX_FORCE_SYNC, STATX_NLINK, &x) == 0 ? x.stx_nlink
                                                                                       : static_cast<unsigned>(f.st_nlink);
}

unsigned nomes_visiveis(int pasta, int fd) {
    struct stat f {}, n {};
    if (::fstat(fd, &f) != 0) return 0;
    f.st_nlink = nomes_agora(pasta, fd);
    if (f.st_nlink == 0 || !capacidades(pasta).esconde_apagados) return static_cast<unsigned>(f.st_nlink);
    // The count such a file system gives may lag behind a name given or
    // hidden an instant ago: the folder's own names are counted too.
    nlink_t escondidos = 0, visiveis = 0;
    if (DIR* d = ::fdopendir(::openat(pasta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {
        while (const dirent* e = ::readdir(d)) {
            const std::string_view nome(e->d_name);
            if (nome == "." || nome == ".." || ::fstatat(pasta, e->d_name, &n, AT_SYMLINK_NOFOLLOW) != 0 || !mesmo(n, f))
                continue;
            ++(escondido(nome) ? escondidos : visiveis);
        }
        ::closedir(d);
    }
    return static_cast<unsigned>(std::max(visiveis, escondidos >= f.st_nlink ? 0 : f.st_nlink - escondidos));
}

bool sem_nomes(int pasta, int fd) {
    struct stat f {};
    return ::fstat(fd, &f) == 0 && nomes_visiveis(pasta, fd) == 0;
}

void limpar_novos_orfaos(int pasta, std::string_view marca) {
    std::vector<std::string> novos;
    if (DIR* d = ::fdopendir(::openat(pasta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {
        while (const dirent* e = ::readdir(d))
            if (nome_temporario(e->d_name)) novos.emplace_back(e->d_name);
        ::closedir(d);
    }
    for (const std::string& nome : novos) {
        // Never through a link; one another window holds is being made.
        const Bloqueio_Jogo livre =
            Bloqueio_Jogo::do_descritor(::openat(pasta, nome.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (!livre.tomado() || ::fstat(livre.descritor(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        // A making's intent: its hold, if the making was killed before it
        // marked it, is empty, and goes with it.
        std::string lido(4096 + marca.size(), '\0');
        lido.resize(ler_em(livre.descritor(), lido.data(), lido.size(), 0));
        if (lido.size() > marca.size() && lido.compare(0, marca.size(), marca) == 0) {
            const std::string hold = lido.substr(marca.size());
            const Bloqueio_Jogo h =
                Bloqueio_Jogo::do_descritor(::openat(pasta, hold.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            struct stat hs {}, ns {};
            if (h.tomado() && hold.find('/') == std::string::npos && ::fstat(h.descritor(), &hs) == 0 &&
                S_ISREG(hs.st_mode) && hs.st_size == 0 && ::fstatat(pasta, hold.c_str(), &ns, AT_SYMLINK_NOFOLLOW) == 0 &&
                mesmo(hs, ns))
                ::unlinkat(pasta, hold.c_str(), 0);
        }
        ::unlinkat(pasta, nome.c_str(), 0);
    }
}

} // namespace gv::db
