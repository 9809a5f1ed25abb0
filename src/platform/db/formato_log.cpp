// A log: a 32-byte header (magic, version, page size, checkpoint count,
// two salts, a checksum of the rest), then frames of a 24-byte header
// (page number, the file's size in pages for a commit's last frame, the
// salts, the running checksum) and the page. A frame belongs to this log
// while its salts are the header's and its checksum follows on from the
// frame before it.

#include "platform/db/formato_log.h"

#include "platform/db/interno.h"
#include "platform/db/pagina_cifrada.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace gv::db {

namespace {

constexpr std::size_t Cabecalho = Cabecalho_Log, Cabeca = Cabeca_Quadro;
// The magic, less its low bit (the checksums' byte order).
constexpr std::uint32_t Magia = 0x377f0682u;

std::uint32_t pequeno(const unsigned char* p) {
    return std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

// The checksums run over pairs of 32-bit words, in the byte order the
// magic names.
struct Soma {
    bool ordem_grande;
    std::uint32_t s0 = 0, s1 = 0;
    void somar(const unsigned char* p, std::size_t n) {
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            s0 += (ordem_grande ? grande(p + i) : pequeno(p + i)) + s1;
            s1 += (ordem_grande ? grande(p + i + 4) : pequeno(p + i + 4)) + s0;
        }
    }
};

// Counts an image against the file's key; the marks when it is the first
// page's and reads.
std::optional<Marca> conferir(Leitura_Log& r, const Cifra_Paginas* cifra, int pagina, const unsigned char* imagem,
                              std::uint32_t numero) {
    if (!cifra) return std::nullopt;
    const bool nossa = cifra->confere(imagem, pagina, numero);
    ++(nossa ? r.imagens_nossas : r.imagens_alheias);
    return nossa && numero == 1 ? cifra->marcas(imagem) : std::nullopt;
}

} // namespace

std::size_t ler_em(int fd, void* destino, std::size_t n, off_t onde) {
    auto* p = static_cast<unsigned char*>(destino);
    std::size_t lidos = 0;
    while (lidos < n) {
        const ssize_t r = ::pread(fd, p + lidos, n - lidos, onde + static_cast<off_t>(lidos));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        lidos += static_cast<std::size_t>(r);
    }
    return lidos;
}

bool comeca_como_log(const unsigned char* h, std::size_t n) {
    return std::all_of(h, h + n, [](unsigned char b) { return b == 0; }) || (n >= 4 && (grande(h) & ~1u) == Magia);
}

Leitura_Log ler_log(int fd, const Cifra_Paginas* cifra, int pagina_ficheiro) {
    Leitura_Log r;
    unsigned char h[Cabecalho] = {};
    const std::size_t lidos = ler_em(fd, h, Cabecalho, 0);
    for (std::size_t i = 0; i < lidos; ++i) r.vazio = r.vazio && h[i] == 0;
    if (lidos < Cabecalho) return r;
    const std::uint32_t magia = grande(h);
    Soma soma{(magia & 1u) != 0};
    soma.somar(h, 24);
    const std::uint32_t pagina = grande(h + 8);
    r.cabecalho = (magia & ~1u) == Magia && grande(h + 4) == 3007000u && soma.s0 == grande(h + 24) &&
                  soma.s1 == grande(h + 28) && pagina_possivel(pagina);
    if (!r.cabecalho) {
        // Whose frames these are, where the file's pages would put them.
        if (r.vazio || !cifra || !pagina_possivel(static_cast<std::uint32_t>(pagina_ficheiro))) return r;
        std::vector<unsigned char> q(Cabeca + static_cast<std::size_t>(pagina_ficheiro));
        for (off_t o = Cabecalho; ler_em(fd, q.data(), q.size(), o) == q.size(); o += static_cast<off_t>(q.size()))
            if (const std::uint32_t numero = grande(q.data()); numero == 1 || o == Cabecalho)
                conferir(r, cifra, pagina_ficheiro, q.data() + Cabeca, numero);
        return r;
    }
    r.pagina = static_cast<int>(pagina);
    std::vector<unsigned char> q(Cabeca + pagina);
    bool apos_commit = false;
    std::optional<Marca> marca;   // of the commit being read
    for (off_t o = Cabecalho; ler_em(fd, q.data(), q.size(), o) == q.size(); o += static_cast<off_t>(q.size())) {
        const unsigned char* f = q.data();
        const std::uint32_t numero = grande(f);
        const bool commit = grande(f + 4) != 0, deste = grande(f + 8) == grande(h + 16) && grande(f + 12) == grande(h + 20);
        if (!r.quebra) {
            Soma seguinte = soma;
            seguinte.somar(f, 8);
            seguinte.somar(f + Cabeca, pagina);
            if (deste && numero != 0 && seguinte.s0 == grande(f + 16) && seguinte.s1 == grande(f + 20)) {
                soma = seguinte;
                if (numero == 1 || o == Cabecalho)
                    if (auto m = conferir(r, cifra, r.pagina, f + Cabeca, numero)) marca = m;
                if (commit) {
                    r.commits.push_back({marca});
                    marca.reset();
                }
                apos_commit = commit;
                continue;
            }
            // The first frame the engine does not read: the log ends here
            // for it, whatever this log holds after it.
            r.quebra = Quebra_Log{!apos_commit, numero == 1, 0, {}};
        }
        if (!deste) continue;
        if (commit) ++r.quebra->commits_depois;
        // An image past the break may be torn: it tells its marks when it
        // reads, and nothing of whose it is when it does not.
        if (numero == 1 && cifra && cifra->confere(f + Cabeca, r.pagina, numero))
            if (auto m = cifra->marcas(f + Cabeca)) r.quebra->marcas_depois.push_back(*m);
    }
    if (r.quebra && r.quebra->commits_depois == 0) r.quebra.reset();
    return r;
}

} // namespace gv::db
