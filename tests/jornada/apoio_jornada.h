#pragma once
// Fixtures of the matchday tests: a bare game database with clubs and
// players made to measure, and draws held on chosen values.

#include <array>
#include <cmath>
#include <string>

#include "apoio.h"
#include "matchday/sorteio.h"

namespace gv::teste {

// The draw just below or above x, and the largest the random source gives.
inline double abaixo(double x) { return std::nextafter(x, 0.0); }
inline double acima(double x) { return std::nextafter(x, 1.0); }
constexpr double MAIOR_SORTEIO = 1.0 - 1.0 / 16777216.0;

class Base_Jornada : public Pasta_Temporaria {
protected:
    void SetUp() override {
        Pasta_Temporaria::SetUp();
        // An empty game made once for the binary (its tables one by one each
        // sync the disk), without the password, whose key derivation is slow.
        Ligacao_BD = "";
        const auto m = modelo("vazia.gv", [](const std::filesystem::path& destino) {
            auto d = db::Database::criar(destino.string(), Ligacao_BD);
            db::Transaccao t(*d);
            criar_esquema(*d);
            d->Execute("INSERT INTO principal (nome, equipa, Jornada, Epoca, taca, sit) "
                       "VALUES ('Manuel Tester', 'Treinador FC', 1, 1999, 1, 20)");
            t.commit();
        });
        std::filesystem::copy_file(m, caminho("jogo.gv"));
        Base_Dados = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        Clube_Treinador = "Treinador FC";
        Jornada_Actual = Eliminatoria_Taca = 1;
    }

    void clube(const std::string& nome, int div = 1, int cap = 20000, int pontos = 0, int g_mar = 0, int g_suf = 0) {
        Base_Dados->Execute("INSERT INTO clubes (clube, div, cap_estadio, pontos, g_mar, g_suf) "
                            "VALUES (?, ?, ?, ?, ?, ?)", {nome, div, cap, pontos, g_mar, g_suf});
    }
    // A player aged 25; unnamed ones are numbered.
    long long jogador(const std::string& equipa, const std::string& pos, int forca, int joga = 0,
                      const std::string& nome = {}) {
        const std::string n = nome.empty() ? equipa + " " + pos + " " + std::to_string(++numerados_) : nome;
        Base_Dados->Execute("INSERT INTO jogadores (nome, equipa, pos, forca, idade, joga, clube_origem) "
                            "VALUES (?, ?, ?, ?, 25, ?, '0')",
                            {n, equipa, pos, forca, joga});
        return Base_Dados->ultimo_rowid();
    }
    // A squad of the given numbers per line, strongest first within a line.
    void plantel(const std::string& equipa, int gk, int df, int md, int av, int forca = 60) {
        db::Transaccao t(*Base_Dados);
        for (auto [pos, n] : {std::pair{"gk", gk}, {"df", df}, {"md", md}, {"av", av}})
            for (int i = 0; i < n; ++i) jogador(equipa, pos, forca - i);
        t.commit();
    }

    int contar(const std::string& sql, const db::Parametros& p = {}) { return Base_Dados->valor(sql, p).int32(); }
    db::Valor valor(const std::string& sql, const db::Parametros& p = {}) { return Base_Dados->valor(sql, p); }
    // One column of a player.
    long long campo(const std::string& coluna, long long rowid) {
        return valor("SELECT " + coluna + " FROM jogadores WHERE rowid = ?", {rowid}).inteiro();
    }

private:
    int numerados_ = 0;
};

} // namespace gv::teste
