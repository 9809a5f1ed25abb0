#pragma once
// Fixtures of the matchday tests: a bare game database with clubs and
// players made to measure, and draws held on chosen values.

#include <cmath>
#include <string>

#include "apoio.h"
#include "matchday/sorteio.h"

namespace gv::teste {

// The largest draw the random source can give, and the draw just below x.
inline double abaixo(double x) { return std::nextafter(x, 0.0); }
inline double acima(double x) { return std::nextafter(x, 1.0); }
constexpr double MAIOR_SORTEIO = 1.0 - 1.0 / 16777216.0;

class Base_Jornada : public Pasta_Temporaria {
protected:
    void SetUp() override {
        Pasta_Temporaria::SetUp();
        Base_Dados = nova_base("jogo.gv");
        Clube_Treinador = "Treinador FC";
        Jornada_Actual = 1;
        Eliminatoria_Taca = 1;
        Base_Dados->Execute("INSERT INTO principal (nome, equipa, Jornada, Epoca, taca, sit) VALUES (?, ?, 1, 1999, 1, 20)",
                            {"Manuel Tester", Clube_Treinador});
    }

    void clube(const std::string& nome, int div = 1, int cap = 20000, int pontos = 0, int g_mar = 0, int g_suf = 0) {
        Base_Dados->Execute(
            "INSERT INTO clubes (clube, div, cap_estadio, pontos, g_mar, g_suf) VALUES (?, ?, ?, ?, ?, ?)",
            {nome, div, cap, pontos, g_mar, g_suf});
    }

    long long jogador(const std::string& equipa, const std::string& pos, int forca, int joga = 0,
                      const std::string& nome = {}) {
        std::string n = nome;
        if (n.empty()) n.append(equipa).append(" ").append(pos).append(" ").append(std::to_string(++numerados_));
        Base_Dados->Execute("INSERT INTO jogadores (nome, equipa, pos, forca, idade, joga, clube_origem) "
                            "VALUES (?, ?, ?, ?, 25, ?, '0')",
                            {n, equipa, pos, forca, joga});
        return Base_Dados->ultimo_rowid();
    }

    // A squad of the given numbers per line, strongest first within a line.
    void plantel(const std::string& equipa, int gk, int df, int md, int av, int forca = 60) {
        const std::pair<const char*, int> linhas[] = {{"gk", gk}, {"df", df}, {"md", md}, {"av", av}};
        for (auto [pos, n] : linhas)
            for (int i = 0; i < n; ++i) jogador(equipa, pos, forca - i);
    }

    int contar(const std::string& sql, const db::Parametros& p = {}) { return Base_Dados->valor(sql, p).int32(); }
    db::Valor valor(const std::string& sql, const db::Parametros& p = {}) { return Base_Dados->valor(sql, p); }

private:
    int numerados_ = 0;
};

} // namespace gv::teste
