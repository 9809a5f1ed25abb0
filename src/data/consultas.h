#pragma once
// The shared query procedures every screen calls on the open game database,
// and the compaction that new game, load game and the editor perform.

#include <string>

#include "platform/db/database.h"

namespace gv {

// Rows of the query (also the existence test). On any failure shows
// "Erro Nº : <n> - Descrição : <text>" and answers 0.
int Contar_Linhas(const std::string& sql, const db::Parametros& p = {});
// The column `soma` of the query's first row; 0 when there is no row, it is
// Null or 0, or the query fails (after Contar_Linhas's message).
int Ler_Soma(const std::string& sql, const db::Parametros& p = {});

// Rewrites the open database compactly in place, with the same password,
// as one transaction: any failure leaves the file as it was. Throws
// db::Erro_BD on failure.
void Compactar_Base_Dados(db::Database& d);

// Removes a database file and the journals an interrupted run left beside it.
void remover_com_diario(const std::string& caminho);
// Closes the game file; when part of the game was left in its log beside
// it, the person is told to keep the two together.
void Fechar_Base_Dados();

} // namespace gv
