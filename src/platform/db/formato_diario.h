#pragma once
// The rollback journal's bytes, read as the engine reads them, without it:
// its headers, the original pages it would put back, and their checksums.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/db/marca.h"

namespace gv::db {

class Cifra_Paginas;

struct Leitura_Diario {
    bool quente = false;      // the engine would play it back: not empty, its first byte not wiped
    bool cabecalho = false;   // a journal's header, of a page and sector size the engine takes
    int pagina = 0;
    bool completo = true;     // every page its headers count is there and whole
    // The marks of the first page it puts back: the state it restores.
    std::optional<Marca> restaura;
    // Images checked against the file's key (the first page's, and the
    // first one's): made with it, or not.
    int imagens_nossas = 0, imagens_alheias = 0;
};

// Whether the `n` bytes a file begins with are a journal's: its magic, or
// nothing the engine plays back (none, or zeros).
bool comeca_como_diario(const unsigned char* h, std::size_t n);

// The journal open at `fd`, `tamanho` bytes long, read a page at a time.
// `cifra`: the file's key, for the images (none: left unchecked); `pagina`:
// the file's page size, where pages are looked for when the header is
// damaged.
Leitura_Diario ler_diario(int fd, std::uintmax_t tamanho, const Cifra_Paginas* cifra, int pagina);

} // namespace gv::db
