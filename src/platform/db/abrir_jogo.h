#pragma once
// Opening a saved game to be played, with whatever a killed or cut-off
// write left beside it.

#include <functional>
#include <memory>
#include <string>

#include "platform/db/database.h"

namespace gv::db {

struct Jogo_Aberto {
    std::unique_ptr<Database> base;
    // The game's own log, holding commits the player was shown as done
    // past a frame the engine cannot read: the game opens without them.
    std::string log_perdido;
    // The file had more than one name and was written anew, compactly and
    // under a key of its own, under the one chosen.
    bool reescrito = false;
};

class Lugar_Jogo;

// Opens a saved game to be played, from its place (lugar.h): its folder and
// file held from the first look. Refused, with every file as it was:
// a game in a folder that may only be read (Pasta_So_Leitura), or open in
// another window of the game (Noutra_Janela); anything beside it under a
// log's or journal's name that is no regular file (Sobra_Estranha) or is
// larger than any the game writes (Sobra_Grande); a log or journal that
// does not continue this very file (continuidade.h) or is damaged
// (Sobra_Alheia, Sobra_Danificada), or that another window is writing
// (Sobra_Noutra_Janela); a game whose name is lost meanwhile is told where
// it is (Ficheiro_Movido). Before anything is written, the file with what is
// beside it is read in a private copy, and `aceitar` is shown the game
// (that copy, when something is beside the file) to say whether it is one
// to load; when it says no, nothing is opened. A file with more than one
// name is then written anew under this one, so that the others keep what
// they held. On return the file alone holds the whole game, and the
// connection holds the game's lock against other windows.
// `caminho` is the file itself (caminho_real.h), the same for every step;
// `escolhido` names it in a refusal as the player chose it.
Jogo_Aberto abrir_jogo(const std::string& caminho, const std::string& escolhido, const std::string& ligacao,
                       const std::function<bool(Database&)>& aceitar);

// The game open in `origem` written anew under the name of the game in
// `lugar`, compactly and under a key of its own, before anything more is
// written to it: a file with more than one name (the others keep exactly
// what they held), or a game that shares its key. The new file is held
// before it takes the name, and opened alone; `antes_de_substituir` runs
// right before (the old file's connection closed, say).
std::unique_ptr<Database> escrever_de_novo(Database& origem, const std::shared_ptr<Lugar_Jogo>& lugar,
                                           const std::string& ligacao,
                                           const std::function<void()>& antes_de_substituir = {});

} // namespace gv::db
