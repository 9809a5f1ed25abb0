// A journal: a header (magic, the count of pages in this part, the
// checksums' seed, the file's size before, the sector and page sizes), then
// from the next sector the pages: each its number, the original page and a
// checksum. A journal synced more than once holds several such parts, each
// beginning at a sector of its own.

#include "platform/db/formato_diario.h"

#include "platform/db/interno.h"
#include "platform/db/pagina_cifrada.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace gv::db {

namespace {

constexpr std::size_t Cabecalho = 28;
constexpr unsigned char Magia[8] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
constexpr std::uint32_t Ate_Ao_Fim = 0xFFFFFFFFu;   // a count left to the journal's length

// The engine's checksum of a page: a sparse sum of its bytes.
std::uint32_t soma(std::uint32_t semente, const unsigned char* pagina, int tamanho) {
    for (int i = tamanho - 200; i > 0; i -= 200) semente += pagina[i];
    return semente;
}

void conferir(Leitura_Diario& r, const Cifra_Paginas* cifra, int pagina, const unsigned char* imagem,
              std::uint32_t numero) {
    if (!cifra) return;
    const bool nossa = cifra->confere(imagem, pagina, numero);
    ++(nossa ? r.imagens_nossas : r.imagens_alheias);
    if (nossa && numero == 1) r.restaura = cifra->marcas(imagem);
}

} // namespace

bool comeca_como_diario(const unsigned char* h, std::size_t n) {
    return std::all_of(h, h + n, [](unsigned char b) { return b == 0; }) ||
           (n >= sizeof Magia && std::memcmp(h, Magia, sizeof Magia) == 0);
}

Leitura_Diario ler_diario(int fd, std::uintmax_t tamanho, const Cifra_Paginas* cifra, int pagina_ficheiro) {
    Leitura_Diario r;
    unsigned char h[Cabecalho] = {};
    const std::size_t lidos = ler_em(fd, h, Cabecalho, 0);
    // Empty, or its first byte wiped: the engine leaves it alone.
    if (lidos == 0 || h[0] == 0) return r;
    r.quente = true;
    const std::uint32_t sector = grande(h + 20), pagina = grande(h + 24);
    r.cabecalho = lidos == Cabecalho && std::memcmp(h, Magia, sizeof Magia) == 0 && pagina_possivel(pagina) &&
                  sector >= 32 && sector <= 65536 && (sector & (sector - 1)) == 0;
    if (!r.cabecalho) {
        // Whose pages these are, where the file's pages would put them.
        if (!cifra || !pagina_possivel(static_cast<std::uint32_t>(pagina_ficheiro))) return r;
        std::vector<unsigned char> q(4 + static_cast<std::size_t>(pagina_ficheiro) + 4);
        for (off_t o = 512; ler_em(fd, q.data(), q.size(), o) == q.size(); o += static_cast<off_t>(q.size()))
            if (const std::uint32_t numero = grande(q.data()); numero == 1 || o == 512)
                conferir(r, cifra, pagina_ficheiro, q.data() + 4, numero);
        return r;
    }
    r.pagina = static_cast<int>(pagina);
    const std::size_t registo = 4 + pagina + 4;
    std::vector<unsigned char> q(registo);
    bool primeira = true;
    for (std::uintmax_t parte = 0; parte + Cabecalho <= tamanho;) {
        if (ler_em(fd, h, Cabecalho, static_cast<off_t>(parte)) != Cabecalho || std::memcmp(h, Magia, sizeof Magia) != 0)
            break;
        std::uint32_t contagem = grande(h + 8);
        const std::uint32_t semente = grande(h + 12);
        std::uintmax_t o = parte + sector;
        if (contagem == Ate_Ao_Fim) contagem = static_cast<std::uint32_t>((tamanho > o ? tamanho - o : 0) / registo);
        for (std::uint32_t i = 0; i < contagem; ++i, o += registo) {
            // A page the count holds that is not there, or does not add up:
            // the engine puts back what comes before it only.
            if (ler_em(fd, q.data(), registo, static_cast<off_t>(o)) != registo ||
                soma(semente, q.data() + 4, r.pagina) != grande(q.data() + 4 + pagina) || grande(q.data()) == 0) {
                r.completo = false;
                return r;
            }
            const std::uint32_t numero = grande(q.data());
            if (numero == 1 || primeira) conferir(r, cifra, r.pagina, q.data() + 4, numero);
            primeira = false;
        }
        if (grande(h + 8) == Ate_Ao_Fim) break;
        parte = (o + sector - 1) / sector * sector;
    }
    return r;
}

} // namespace gv::db
