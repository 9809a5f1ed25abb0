#include "matchday/manutencao.h"

#include <algorithm>
#include <array>

#include "data/esquema.h"
#include "matchday/interno.h"

namespace gv {

using jornada_interno::base;

namespace {

constexpr std::array<int, 8> Jornadas_Crescimento{4, 7, 11, 14, 18, 22, 26, 31};

void apagar_sem_clube(db::Database& d) {
    d.Execute("DELETE FROM jogadores WHERE equipa IS NULL OR trim(equipa) = ''");
}

// Rows that already hold the value are left alone in every statement
// below: the table ends the same, with far fewer rows and index entries
// rewritten.

void limpar_escolhas_computador(db::Database& d) {
    d.Execute("UPDATE jogadores SET joga = 0 WHERE equipa <> ? AND joga IS NOT 0", {Clube_Treinador});
}

// The five price bands (Faixas_Preco), whole numbers: 500 * k.
void precos(db::Database& d) {
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 300 "
              "WHERE forca <= 35 AND preco IS NOT (40 - idade) * forca * 300");
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 400 "
              "WHERE forca <= 60 AND forca > 35 AND preco IS NOT (40 - idade) * forca * 400");
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 650 "
              "WHERE forca <= 75 AND forca > 60 AND preco IS NOT (40 - idade) * forca * 650");
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 900 "
              "WHERE forca <= 100 AND forca > 75 AND preco IS NOT (40 - idade) * forca * 900");
    d.Execute("UPDATE jogadores SET preco = (40 - idade) * forca * 1500 "
              "WHERE forca > 100 AND preco IS NOT (40 - idade) * forca * 1500");
}

// Starters lose form and substitutes and unpicked players gain it;
// injured players (joga 3) keep theirs. At exactly -3 or 3 the strength
// moves by one. The league resets any value at or beyond the limits, the
// cup only the exact limits (goals can carry the counter past them).
void forma_do_treinador(db::Database& d, bool so_nos_limites) {
    const db::Parametros clube{Clube_Treinador};
    d.Execute("UPDATE jogadores SET sit = sit - 1 WHERE joga = 1 AND equipa = ?", clube);
    d.Execute("UPDATE jogadores SET forca = forca - 1 WHERE sit = -3 AND equipa = ?", clube);
    d.Execute(so_nos_limites ? "UPDATE jogadores SET sit = 0 WHERE sit = -3 AND equipa = ?"
                             : "UPDATE jogadores SET sit = 0 WHERE sit <= -3 AND equipa = ?",
              clube);
    d.Execute("UPDATE jogadores SET sit = sit + 1 WHERE joga IN (0, 2) AND equipa = ?", clube);
    d.Execute("UPDATE jogadores SET forca = forca + 1 WHERE sit = 3 AND equipa = ?", clube);
    d.Execute(so_nos_limites ? "UPDATE jogadores SET sit = 0 WHERE sit = 3 AND equipa = ?"
                             : "UPDATE jogadores SET sit = 0 WHERE sit >= 3 AND equipa = ?",
              clube);
}

} // namespace

bool Jornada_De_Crescimento(int jornada) {
    return std::find(Jornadas_Crescimento.begin(), Jornadas_Crescimento.end(), jornada) != Jornadas_Crescimento.end();
}

void Actualizar_Jogadores_Jornada() {
    auto& d = base();
    limpar_escolhas_computador(d);
    d.Execute("UPDATE jogadores SET clube_origem = '0' WHERE clube_origem IS NULL OR trim(clube_origem) = ''");
    apagar_sem_clube(d);
    // A player in his last injured round is available again, in every club.
    d.Execute("UPDATE jogadores SET joga = 0 WHERE lesionado_jor = 1");
    d.Execute("UPDATE jogadores SET lesionado = 0 WHERE lesionado_jor <= 1");
    d.Execute("UPDATE jogadores SET lesionado_jor = lesionado_jor - 1 WHERE equipa = ? AND lesionado_jor >= 1",
              {Clube_Treinador});
    forma_do_treinador(d, false);
    if (Jornada_De_Crescimento(Jornada_Actual))
        d.Execute("UPDATE jogadores SET forca = forca + 1 WHERE equipa <> ?", {Clube_Treinador});
    precos(d);
    // Wages follow prices for every player who neither plays for nor
    // belongs to the manager's club; int() rounds down.
    d.Execute("UPDATE jogadores SET ordenado = CASE WHEN preco >= 0 THEN preco / 100 ELSE -((99 - preco) / 100) END "
              "WHERE equipa <> ? AND clube_origem <> ? "
              "AND ordenado IS NOT CASE WHEN preco >= 0 THEN preco / 100 ELSE -((99 - preco) / 100) END",
              {Clube_Treinador, Clube_Treinador});
}

void Actualizar_Jogadores_Taca() {
    auto& d = base();
    apagar_sem_clube(d);
    limpar_escolhas_computador(d);
    forma_do_treinador(d, true);
    precos(d);
}

} // namespace gv
