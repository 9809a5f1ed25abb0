#pragma once
// Fixtures of the season-change tests: a bare game database holding a
// league made to measure, the name pool, and the status line's texts.

#include <string>
#include <vector>

#include "jornada/apoio_jornada.h"
#include "platform/falhas.h"
#include "season/andamento.h"

namespace gv::teste {

class Base_Epoca : public Base_Jornada {
protected:
    void SetUp() override {
        Base_Jornada::SetUp();
        Epoca_Actual = 1999;
        db::Transaccao escrita(*Base_Dados);
        for (const char* n : {"Ana", "Bruno", "Carlos"}) Base_Dados->Execute("INSERT INTO jogadores_all (nome_1) VALUES (?)", {n});
        escrita.commit();
        registar_andamento([this](const std::string& t) { estados.push_back(t); });
    }
    void TearDown() override {
        registar_andamento({});
        desarmar_falhas();
        Base_Jornada::TearDown();
    }

    // n clubs per division named "D<div> C<place>", the table in that order
    // (points 100 - place); the manager's club takes the slot (div, lugar).
    void liga(int n, int div_treinador = 0, int lugar_treinador = 0) {
        db::Transaccao t(*Base_Dados);
        for (int div = 1; div <= 3; ++div)
            for (int lugar = 1; lugar <= n; ++lugar)
                clube(div == div_treinador && lugar == lugar_treinador ? Clube_Treinador : nome_clube(div, lugar), div,
                      20000, 100 - lugar);
        t.commit();
    }
    static std::string nome_clube(int div, int lugar) {
        return "D" + std::to_string(div) + " C" + (lugar < 10 ? "0" : "") + std::to_string(lugar);
    }
    int div_de(const std::string& clube) { return contar("SELECT div FROM clubes WHERE clube = ?", {clube}); }
    std::string texto(const std::string& sql, const db::Parametros& p = {}) { return valor(sql, p).texto(); }

    std::vector<std::string> estados;
};

} // namespace gv::teste
