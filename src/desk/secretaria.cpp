#include "desk/secretaria.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/carreira.h"
#include "data/clubes.h"
#include "data/consultas.h"
#include "data/estado.h"
#include "platform/texto.h"

namespace gv {

namespace {

// The manager's cup tie: {opponent, venue} or {"0", "0"}.
std::pair<std::string, std::string> eliminatoria() {
    auto rs = base_aberta().OpenRecordset("SELECT casa, fora FROM jogos_taca WHERE casa = ? OR fora = ?",
                                   {Clube_Treinador, Clube_Treinador});
    if (rs.Eof()) return {"0", "0"};
    if (rs["casa"].texto() == Clube_Treinador) return {rs["fora"].texto(), "CASA"};
    return {rs["casa"].texto(), "FORA"};
}

// Whole-number price the match takes: the shown price rounded, halves to even.
int arredondar_par(int milesimas) {
    return static_cast<int>(std::nearbyint(milesimas / 1000.0));
}

} // namespace

std::string Equipa_Taca() { return eliminatoria().first; }
std::string Local_Taca() { return eliminatoria().second; }

bool Dia_De_Taca() {
    return Jornada_Actual % 5 == 0 && Jornada_Actual >= 5 && Jornada_Actual <= 30 &&
           Eliminatoria_Taca == Jornada_Actual / 5;
}

std::string formatar_preco_bilhete(int milesimas) {
    char b[32];
    std::snprintf(b, sizeof b, "%d.%03d", milesimas / 1000, milesimas % 1000);
    return b;
}

Proximo_Jogo Actualizar_Equipas_Jogo() {
    Proximo_Jogo p;
    p.clube = maiusculas(Clube_Treinador) + " - " + Lugar_Clube(Clube_Treinador);
    int h = 0;
    auto rs = base_aberta().OpenRecordset("SELECT casa, fora FROM jogos WHERE jor = ? AND (casa = ? OR fora = ?)",
                                   {Jornada_Actual, Clube_Treinador, Clube_Treinador});
    if (!rs.Eof()) {
        h = rs["casa"].texto() == Clube_Treinador ? 1 : 2;
        std::string outro = rs[h == 1 ? "fora" : "casa"].texto();
        p.jogo = std::string(h == 1 ? txt("CASA - ", "HOME - ") : txt("FORA - ", "AWAY - ")) + outro + " " +
                 Lugar_Clube(outro);
        Adversario = outro;
        Jogo_Em_Casa = h == 1 ? 1 : 0;
    }
    if (h > 0) {
        p.mostra_preco = true;
        switch (Divisao_Clube(Clube_Treinador)) {
        case 1: p.preco_milesimas = h * 1000 + 3500; break;
        case 2: p.preco_milesimas = h * 1000 + 2500; break;
        case 3: p.preco_milesimas = h * 1000 + 2000; break;
        default: p.mostra_preco = false; break;
        }
    }
    if (Dia_De_Taca()) {
        const std::string marca = txt("TAÇA", "CUP");
        p.mostra_preco = true;
        p.preco_milesimas = (2 + 2 * Eliminatoria_Taca) * 1000;
        auto [adversario, local] = eliminatoria();
        if (adversario != "0") {
            p.jogo = marca + " " + local + " - " + adversario + " (" + std::to_string(Divisao_Clube(adversario)) +
                     "ª Div.)";
            Adversario = adversario;
        } else {
            p.jogo = marca + " Golvantario";
            Adversario = "0";
        }
        p.titulo_taca = "Ecran Principal - Dados Gerais - Taça Golvantario";
    } else if (h == 2) {
        p.mostra_preco = false;   // away league match: no gate, no price
    }
    if (!p.mostra_preco) p.preco_milesimas = 0;
    p.preco_bilhete = arredondar_par(p.preco_milesimas);
    return p;
}

int Evolucao_Jor() {
    auto lugar = [](int jor) {
        return base_aberta().valor("SELECT pos FROM Historico_Jornadas WHERE clube = ? AND jor = ?", {Clube_Treinador, jor})
            .int32();
    };
    int a = lugar(Jornada_Actual - 2), b = lugar(Jornada_Actual - 1);
    return a < b ? -1 : a > b ? 1 : 0;
}

Sequencias Act_V_E_D_GC_PC() {
    Sequencias s;
    if (int v = Ler_V_E_D("v"); v > 1)
        s.vitorias_empates_derrotas = std::to_string(v) + txt(" Vitórias Consecutivas", " Consecutive Wins");
    else if (int e = Ler_V_E_D("e"); e > 1)
        s.vitorias_empates_derrotas = std::to_string(e) + txt(" Empates Consecutivos", " Consecutive Draws");
    else if (int d = Ler_V_E_D("d"); d > 1)
        s.vitorias_empates_derrotas = std::to_string(d) + txt(" Derrotas Consecutivas", " Consecutive Loses");
    if (int gc = Ler_GC_PC("gc"); gc > 0)
        s.sem_perder_ganhar = std::to_string(gc) + txt(" Jogo(s) sem Perder", " Game(s) without Lose");
    else if (int pc = Ler_GC_PC("pc"); pc > 0)
        s.sem_perder_ganhar = std::to_string(pc) + txt(" Jogo(s) sem Ganhar", " Game(s) without Win");
    return s;
}

Desempenho Desempenho_Treinador() {
    Desempenho d;
    d.valor = std::clamp(base_aberta().valor("SELECT sit FROM principal").int32(), 0, 40);
    d.fraccao = static_cast<float>(d.valor) / 40.0f;
    char b[32];
    std::snprintf(b, sizeof b, "%g", d.valor * 100 / 40.0);
    d.texto = std::string(txt("Desempenho Treinador: ", "Coach Performance: ")) + b + "%";
    return d;
}

std::string Aviso_Contratos() {
    int n = Contar_Linhas("SELECT * FROM jogadores WHERE contrato = 1 AND equipa = ?", {Clube_Treinador});
    if (n == 0 || Jornada_Actual < 32) return {};
    return ingles() ? "ATENTION. There are " + std::to_string(n) + " player(s) with the contract reaching the end."
                    : "ATENÇÃO. Existem " + std::to_string(n) + " jogador(es) em fim de contrato.";
}

std::string Titulo_Secretaria() {
    return "Golvantario  - " + std::to_string(Jornada_Actual) + txt(" ª Jornada", "  Match") + " - " +
           std::to_string(Epoca_Actual) + " - " + Nome_Treinador;
}

std::string Texto_Modo_Jogo() {
    return Jogo_Real == 1 ? txt("[Jogo Real]", "[Real Game]") : txt("[Jogo Contínuo]", "[Continuous Game]");
}

std::string Texto_Divisao() {
    return std::to_string(Divisao_Clube(Clube_Treinador)) + txt("ª Divisão", "º Division");
}

std::string Texto_Contrato() {
    return "[" + std::to_string(Ler_T_Contrato()) + txt(" Época(s) de Contrato]", " Year(s) Contract]");
}

} // namespace gv
