#pragma once
// Process-wide game state: the open game database, the connect string and
// the values that mirror the one row of `principal`, plus the values that
// several screens share. One thread; one instance of each.

#include <array>
#include <memory>
#include <functional>
#include <string>

#include "platform/db/database.h"

namespace gv {

// The program's version: the splash shows it, new game stores it in
// `versao`, load game compares it.
constexpr int VERSAO_MAIOR = 99;
constexpr int VERSAO_REVISAO = 6;

// Database access.
extern std::unique_ptr<db::Database> Base_Dados;   // empty: no open database
extern std::string Texto_SQL;
extern std::string Ligacao_BD;                     // ";pwd=" + password, set by Main
extern std::string Ficheiro_Jogo;                  // the saved game being played
// The open game database; db::Erro_BD when there is none.
db::Database& base_aberta();

// The program's folder: the master database, and where the file dialogs
// open. Main sets it (the executable's folder, or the user's data folder
// when that one cannot be written); tests point it elsewhere.
extern std::string Pasta_Programa;
std::string caminho_base_mestra();       // Pasta_Programa + "/Golvantario99.gvb"
constexpr const char* NOME_BASE_MESTRA = "Golvantario99.gvb";
constexpr const char* LIGACAO_JOGO = ";pwd=7241BDC";

// Mirrors of `principal`.
extern std::string Nome_Treinador;
extern std::string Clube_Treinador;
extern int Jornada_Actual;
extern int Epoca_Actual;
extern int Eliminatoria_Taca;
extern int Jogo_Real;
extern std::string Vencedor_Taca;
extern std::string Lingua;                         // "P" or "I"
inline bool ingles() { return Lingua == "I"; }
// Picks the text of the current language.
inline const char* txt(const char* pt, const char* en) { return ingles() ? en : pt; }

// Shared between screens.
extern std::string Adversario;
extern int Jogo_Em_Casa;
extern int Preco_Bilhete;
extern int Proposta_Feita;
extern int Prestacao_Paga;
extern int Estagio_Feito;
extern int Ronda_Jogada;
// Set by the next-match button as it hands over to a round screen: the round
// makes the computer clubs' purchases of the matchday (Compras_Da_Ronda, when
// given) and takes the bank instalment and the all-time scorers' tidy-up
// first, inside its own transaction, so a round that is not saved has done
// none of them and one that is saved has done them once.
extern int Ronda_Com_Preparacao;
extern std::function<void()> Compras_Da_Ronda;
extern int N_Substituicoes;
extern std::string Texto_Marcadores;
extern int Tabelas_Modo_Consulta;
extern int Lista_Venda_Carregada;
extern std::string Clube_Consulta;
extern long Valor_Aux;
extern int Contrato_Compra;

// Clears every value above back to its start-up state (tests).
void repor_estado();

// The in-memory game state taken before a round or a season change, so that
// a rolled-back transaction can leave memory as it left the database.
struct Estado_Guardado {
    int epoca = Epoca_Actual, jornada = Jornada_Actual, eliminatoria = Eliminatoria_Taca;
    int ronda_jogada = Ronda_Jogada, substituicoes = N_Substituicoes, prestacao = Prestacao_Paga;
    std::string vencedor = Vencedor_Taca, clube = Clube_Treinador, sql = Texto_SQL, marcadores = Texto_Marcadores;
    void repor() const;
};

} // namespace gv
