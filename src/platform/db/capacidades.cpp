// What a folder's file system can do: known by its kind for the disks of
// this machine, else tried once in the folder, with files of the game's
// own that the cleaner knows.

#include "platform/db/capacidades.h"

#include "platform/db/alternativas.h"
#include "platform/db/lugar_interno.h"
#include "platform/falhas.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <utility>

namespace gv::db {

namespace {

// The kinds of file system by their magic number (statfs).
constexpr long Fuse = 0x65735546;
constexpr long Nfs = 0x6969;
// Disks of this machine that do all the save path asks.
constexpr long Completos[] = {
    0xEF53,       // ext2, ext3, ext4
    0x58465342,   // xfs
    0x9123683E,   // btrfs
    0x01021994,   // tmpfs
    0xF2F52010,   // f2fs
};
// The system's id of a mount that no later mount is given in this boot
// (Linux 6.8 on); an older system gives one a later mount may have again.
#ifndef STATX_MNT_ID_UNIQUE
constexpr unsigned Mnt_Id_Unico = 0x4000U;
#else
constexpr unsigned Mnt_Id_Unico = STATX_MNT_ID_UNIQUE;
#endif

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
// for it and gone at once. False when the try could not be made.
bool experimentar(int pasta, Capacidades& c) {
    std::string a;
    try {
        ponto_de_falha("capacidades.experimentar");
    } catch (const std::exception&) {
        return false;   // as a full disk refuses the first file
    }
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

// What the file system can do; `certo` false when a try could not be made,
// and what is given then is the least it may do.
Capacidades sondar(int pasta, dev_t dev, bool& certo) {
    Capacidades c;
    certo = true;
    struct statfs sf {};
    if (::fstatfs(pasta, &sf) != 0) {
        certo = false;
        return c;
    }
    for (long k : Completos)
        if (static_cast<long>(sf.f_type) == k) return c;
    c.esconde_apagados = sf.f_type == Nfs;
    c.tempos_fieis = false;
    if (sf.f_type == Fuse) {
        c.esconde_apagados = true;
        // One on a block device of this machine is this machine's alone.
        c.trincos_partilhados = tipo_montado(dev) == "fuseblk";
    }
    const int t = ::openat(pasta, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    c.anonimos = t >= 0;
    if (t >= 0) ::close(t);
    if (!experimentar(pasta, c)) {
        c.ligacoes = c.sem_substituir = false;
        certo = false;
    }
    return c;
}

// Whether a mount came or went since the last asking, where mounts are not
// known by an id of their own: the system tells it on the mount table.
bool montagens_mudaram() {
    static const int fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true;
    struct pollfd p {fd, POLLPRI, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLERR | POLLPRI));
}

} // namespace

Capacidades capacidades(int pasta) {
    static std::mutex guarda;
    static std::map<std::pair<dev_t, std::uint64_t>, Capacidades> sabidas;
    struct statx x {};
    Capacidades c;
    if (::statx(pasta, "", AT_EMPTY_PATH | AT_NO_AUTOMOUNT, STATX_MNT_ID | Mnt_Id_Unico, &x) == 0) {
        const dev_t dev = makedev(x.stx_dev_major, x.stx_dev_minor);
        const auto chave = std::make_pair(dev, (x.stx_mask & (STATX_MNT_ID | Mnt_Id_Unico)) ? x.stx_mnt_id : 0);
        std::lock_guard<std::mutex> g(guarda);
        if (!(x.stx_mask & Mnt_Id_Unico) && montagens_mudaram()) sabidas.clear();
        const auto it = sabidas.find(chave);
        if (it != sabidas.end()) {
            c = it->second;
        } else {
            bool certo = false;
            c = sondar(pasta, dev, certo);
            if (certo) sabidas[chave] = c;
        }
    }
    const unsigned r = retiradas.load();
    if (r & Cap_Anonimos) c.anonimos = false;
    if (r & Cap_Sem_Substituir) c.sem_substituir = false;
    if (r & Cap_Ligacoes) c.ligacoes = false;
    if (r & Cap_Esconde_Apagados) c.esconde_apagados = true;
    if (r & Cap_Trincos_Partilhados) c.trincos_partilhados = false;
    if (r & (Cap_Tempos_Fieis | Cap_Tamanhos_Tardios)) c.tempos_fieis = false;
    return c;
}

void retirar_capacidades(unsigned quais) { retiradas = quais; }

bool tamanhos_tardios() { return retiradas.load() & Cap_Tamanhos_Tardios; }

unsigned capacidades_de_nomes(std::string_view nomes) {
    unsigned r = 0;
    while (!nomes.empty()) {
        const auto virgula = nomes.find(',');
        const std::string_view n = nomes.substr(0, virgula);
        if (n == "anonimos") r |= Cap_Anonimos;
        if (n == "sem-substituir") r |= Cap_Sem_Substituir;
        if (n == "ligacoes") r |= Cap_Ligacoes;
        if (n == "esconde") r |= Cap_Esconde_Apagados;
        if (n == "trincos") r |= Cap_Trincos_Partilhados;
        if (n == "tempos") r |= Cap_Tempos_Fieis;
        if (n == "tardios") r |= Cap_Tamanhos_Tardios;
        nomes.remove_prefix(virgula == std::string_view::npos ? nomes.size() : virgula + 1);
    }
    return r;
}

} // namespace gv::db
