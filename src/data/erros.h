#pragma once
// What a person is told when something fails: the cause in plain words and
// in the game's language, never the engine's own text or a statement. The
// technical detail goes to the standard error stream.

#include <exception>
#include <string>

#include "platform/db/erro_bd.h"

namespace gv {

// One sentence: the disk is full, the file is read-only, ... or, for a
// failure of no known kind, that an unexpected error happened.
std::string Causa_Erro(const std::exception& e);
// Writes the technical detail of the failure to the standard error stream.
void Registar_Erro(const std::exception& e);
// The failure's cause (logged as well) for a message: "\n" + Causa_Erro.
std::string Linha_Causa(const std::exception& e);
// A game file moved or replaced while it was open, found as it closes:
// what happened, and where what was played is now.
std::string Aviso_Ficheiro_Movido(const db::Erro_BD& e);
// Another program's write into the game's file or its log, found as the
// game was being opened: what happened, and what to do.
std::string Aviso_Alterado_Ao_Abrir(const db::Erro_BD& e);
// "The game file is unchanged." in the game's language.
const char* Jogo_Inalterado();
// What a new game that failed left in the chosen file: nothing changed, or
// the new game in it (`havia`: in place of the game that was there).
std::string Novo_Jogo_Falhado(const std::string& ficheiro, bool havia, bool substituido);
// A new game refused a read-only folder: the folder named, and what to do.
std::string Pasta_So_Leitura_Novo_Jogo(const std::string& pasta);
// "Erro Nº : <n> - Descrição : <cause>" (English: "Error Nº : ... -
// Description : ...") for the shared queries' own message.
std::string Texto_Erro_Numerado(const std::exception& e);

} // namespace gv
