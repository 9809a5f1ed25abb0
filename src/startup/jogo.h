#pragma once
// New game and load game: from the entry screen's choices to an open game
// in Base_Dados with the process-wide state set. The screens only read
// their controls, call these and hand over to the desk.

#include <array>
#include <string>
#include <vector>

#include "platform/db/database.h"

namespace gv {

struct Escolhas_Novo_Jogo {
    std::string nome;         // the manager's name (Text1)
    std::string pais;         // club set "pt", "br", "en", "es", "it", "wd"; empty: none chosen
    std::string clube;        // the manager's club (Combo3)
    std::string dinheiro;     // starting money as offered, "2,000,000" (Combo1)
    bool jogo_real = false;   // real-game option (Check1)
};

enum class Resultado_Jogo {
    Aberto,         // the game is open: show the desk
    Cancelado,      // the person changed their mind; nothing touched
    Nome_Em_Falta,  // new game without a name: focus back to the name box
    Recusado,       // refused with a message; nothing touched
};

// Builds the new game in a temporary file beside the chosen one and puts it
// in place only when complete; any failure leaves an existing file as it was.
Resultado_Jogo Novo_Jogo(const Escolhas_Novo_Jogo& escolhas);
// Opens a saved game chosen in the file dialog after checking that it is a
// game of this version; only an accepted game is compacted.
Resultado_Jogo Carregar_Jogo();
// True when the game in d was made by this version; otherwise shows the
// three-line message (on a mismatch) and answers false.
bool Verifica_Versao(db::Database& d, const std::string& nome_ficheiro);

// The program's folder: the executable's own when it holds the master
// database and can be written (the build tree, a copy of the game); else
// the user's data folder, given on first start a copy of the master
// database installed with the program (beside the executable or in
// ../share/golvantario99), which the teams editor then edits.
std::string Escolher_Pasta_Programa(const std::string& pasta_executavel, const std::string& pasta_dados);
// Whether a file can be made in the folder (tried, not guessed).
bool pasta_gravavel(const std::string& pasta);

// The manager, his club and the first matchday, cup round and season of a
// new game, in the process-wide state.
void Estado_Novo_Jogo(const Escolhas_Novo_Jogo& escolhas);

// "5,000,000" -> 5,000,000: the leading number, in millions.
int Dinheiro_Inicial(const std::string& texto);

// The clubs of a club set by division (index 0 is division 1), in name
// order, read from the master database opened read-only.
std::array<std::vector<std::string>, 3> Ler_Clubes_Pais(const std::string& cc);

} // namespace gv
