#pragma once
// Whether what is beside a game file continues that very file: one rule,
// decided from what the bytes tell (the file's marks, the commits of a log,
// the state a journal restores), without the engine and without touching a
// file. The load then has the engine read the pair in a private copy.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/formato_diario.h"
#include "platform/db/formato_log.h"
#include "platform/db/marca.h"

namespace gv::db {

class Cifra_Paginas;

// What the game file's first page tells of it.
struct Identidade {
    bool lida = false;        // its marks read (the page's first sector at least)
    std::vector<int> paginas; // the page sizes it may have: one when the page checked out
    Marca marca;
};

// The identity of a game file `tamanho` bytes long whose first `lidos`
// bytes are at `inicio` (as many as its largest page, where there are).
// The page sizes its length allows, narrowed to one when the first page
// checks out under the file's key `cifra`; the marks when at least the
// page's first sector reads under it. Without a key, nothing is read.
Identidade identidade(const unsigned char* inicio, std::size_t lidos, std::uintmax_t tamanho,
                      const Cifra_Paginas* cifra);

enum class Veredicto {
    Nada,         // the engine would take nothing from it
    Continua,     // it continues the file: taken
    Alheia,       // another copy's, another game's, or no log or journal of this file
    Danificada,   // the file's own, damaged
};

struct Decisao {
    Veredicto veredicto = Veredicto::Nada;
    // Whose it is, not proven: it is shown the file's own only by an earlier
    // version's count of commits, which another game of that version may
    // share, or with the file's marks unread. Then if the file with it does
    // not read whole, it is not its own.
    bool dono_incerto = false;
    // Torn at its tail: taken as the engine takes it, as far as it is
    // whole; but if the game with it does not read whole, it is the damaged
    // one.
    bool cortada = false;
    // Commits the player was shown as done that the engine will not take:
    // they lie past a frame it cannot read.
    bool perdidos = false;
    std::string porque;   // for the error log
};

Decisao decidir(const Identidade& ficheiro, const Leitura_Log& log);
Decisao decidir(const Identidade& ficheiro, const Leitura_Diario& diario);

} // namespace gv::db
