#pragma once
// The tables of the game database and the code sets stored in them.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/database.h"

namespace gv {

// ---------------------------------------------------------------- tables

enum class Tipo_Coluna { Texto, Inteiro, Longo, Duplo };

struct Coluna {
    const char* nome;
    Tipo_Coluna tipo;
    const char* defeito = nullptr;   // text default; numeric columns default to 0
};

struct Tabela {
    std::string nome;
    std::vector<Coluna> colunas;     // in the order positional inserts rely on
};

enum class Tipo_Tabela { Jogo, Fixa, Modelo, Semente };

// Game, fixed and template tables (the seed tables come from semente()).
const std::vector<Tabela>& tabelas_base();
Tipo_Tabela tipo_tabela(const std::string& nome);
// The three seed tables of a club set, named clubes_<cc>, Clubes_Taca_<cc>
// and jogadores_<cc>, with the columns of clubes, clubes_taca, jogadores.
std::vector<Tabela> tabelas_semente(std::string_view cc);
const Tabela& tabela(const std::string& nome);   // by name, any case

std::string sql_criar_tabela(const Tabela& t);
// Creates every game, fixed and template table and their indexes.
void criar_esquema(db::Database& d);
// Creates the seed tables of one club set.
void criar_tabelas_semente(db::Database& d, std::string_view cc);
// Creates the indexes the queries need, and drops those earlier versions
// made that they replace (safe to run again; a loaded game is brought up to
// date by it).
void criar_indices(db::Database& d);
// Whether every index is there and none an earlier version made that gave
// way: nothing for criar_indices to do.
bool indices_em_dia(db::Database& d);

// ---------------------------------------------------------------- code sets

// `joga` of jogadores.
enum Codigos_Joga : int { JOGA_NAO = 0, JOGA_TITULAR = 1, JOGA_SUPLENTE = 2, JOGA_LESIONADO = 3 };

// `pos` of jogadores, always taken in this order.
inline constexpr std::array<const char*, 4> Codigos_Posicao{"gk", "df", "md", "av"};

// Seed-table suffixes, in the order of the entry screen's options.
inline constexpr std::array<const char*, 6> Codigos_Pais{"pt", "br", "en", "es", "it", "wd"};

// `Tipo` of transferencias.
namespace Tipos_Transferencia {
inline constexpr const char* Compra = "C";
inline constexpr const char* Emprestimo_Entrada = "E+";
inline constexpr const char* Venda = "V";
inline constexpr const char* Emprestimo_Saida = "E-";
} // namespace Tipos_Transferencia

// Ledger codes posted by Movimento_Financeiro (not stored).
namespace Tipos_Movimento {
inline constexpr const char* Entrada = "+";
inline constexpr const char* Saida = "-";
inline constexpr const char* Emprestimo_Entrada = "E+";
inline constexpr const char* Emprestimo_Saida = "E-";
inline constexpr const char* Venda_Entrada = "V+";
inline constexpr const char* Venda_Saida = "V-";
inline constexpr const char* Ordenados = "O-";
inline constexpr const char* Estadio = "S+";
} // namespace Tipos_Movimento

// `Tipo` of ultimos_venc.
namespace Tipos_Vencedor {
inline constexpr std::array<const char*, 3> Campeao{"D1", "D2", "D3"};
inline constexpr const char* Taca = "T";
inline constexpr std::array<const char*, 3> Marcador{"M1", "M2", "M3"};
} // namespace Tipos_Vencedor

// `Tipo` of assistencias.
namespace Tipos_Competicao {
inline constexpr const char* Campeonato = "Campeonato";
inline constexpr const char* Taca = "Taça";
} // namespace Tipos_Competicao

// `sit` of Melhores_Marcadores_Sempre.
enum Situacao_Marcador : int { MARCADOR_SAIU = 0, MARCADOR_ACTIVO = 1 };

// Standings order of every query on clubes, and its exact reverse.
inline constexpr const char* Ordem_Classificacao = " ORDER BY pontos DESC, (g_mar-g_suf) DESC, clube";
inline constexpr const char* Ordem_Classificacao_Inversa = " ORDER BY pontos, (g_mar-g_suf), clube DESC";

// Faixas_Preco: (40 - idade) * forca * 500 * k, k = 0.6, 0.8, 1.3, 1.8, 3
// for strength up to 35, 60, 75, 100 and above; kept in whole numbers
// (500 * k = 300, 400, 650, 900, 1500).
int fator_faixa_preco(int forca);                  // 500 * k
long long preco_faixa(int idade, int forca);
long long ordenado_de(long long preco);            // int(.01 * preco)
// The five price statements over every player, in the bands' order.
void aplicar_faixas_preco(db::Database& d);

} // namespace gv
