#include "data/financas.h"

#include "data/clubes.h"
#include "data/consultas.h"
#include "data/erros.h"
#include "data/estado.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"

namespace gv {

namespace {

std::function<void()>& painel() {
    static std::function<void()> f;
    return f;
}

struct Codigo {
    const char* tipo;
    int sinal;             // +1 money in, -1 money out
    const char* coluna;    // the code's own column, if any
};
constexpr Codigo Codigos[] = {
    {"-", -1, nullptr},         {"+", +1, nullptr},         {"E-", -1, "d_emp_out"}, {"E+", +1, "d_emp_in"},
    {"V-", -1, "d_venda_out"},  {"V+", +1, "d_venda_in"},   {"O-", -1, "d_ord"},     {"S+", +1, "d_estadio"},
};

long ler_principal(const char* coluna) {
    auto v = base_aberta().valor(std::string("SELECT ") + coluna + " FROM principal WHERE equipa = ?", {Clube_Treinador});
    return static_cast<long>(v.inteiro());
}

} // namespace

long Movimento_Financeiro(const std::string& tipo, long valor) {
    auto& d = base_aberta();
    for (const auto& c : Codigos) {
        if (tipo != c.tipo) continue;
        std::string sql = c.sinal > 0 ? "UPDATE principal SET d_total = d_total + ?1, d_in = d_in + ?1"
                                      : "UPDATE principal SET d_total = d_total - ?1, d_out = d_out + ?1";
        if (c.coluna) sql += std::string(", ") + c.coluna + " = " + c.coluna + " + ?1";
        d.Execute(sql, {valor});
        break;
    }
    return static_cast<long>(d.valor("SELECT d_total FROM principal").inteiro());
}

long Ler_Saldo() { return ler_principal("d_total"); }
long Ler_Divida() { return ler_principal("d_b_divida"); }

long Total_Ordenados() {
    return static_cast<long>(
        base_aberta().valor("SELECT coalesce(sum(ordenado), 0) FROM jogadores WHERE equipa = ?", {Clube_Treinador}).inteiro());
}

void Pagar_Ordenados() {
    auto& d = base_aberta();
    auto cont = d.valor("SELECT cont FROM principal WHERE equipa = ?", {Clube_Treinador});
    if (cont.nulo()) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "Não há linha principal do clube " + Clube_Treinador);
    if (cont.int32() == 3) {
        d.Execute("UPDATE principal SET cont = 0");
        long conta = Total_Ordenados();
        Movimento_Financeiro("O-", conta);
        ui().aviso(txt("Ordenados Pagos: ", "Wages: ") + formatar_dinheiro(conta), Icone::Informacao);
    } else {
        d.Execute("UPDATE principal SET cont = cont + 1");
    }
}

void Pagar_Prestacao_Emprestimo() {
    if (!Base_Dados) return;
    auto& d = *Base_Dados;
    enum class Fim { Nada, Vendidos, Vender_Jogadores } fim = Fim::Nada;
    long vendidos = 0;
    try {
        db::Transaccao t(d);
        if (Prestacao_Paga == 0) {
            // An over-payment comes back to the balance, so money out grows
            // by exactly what left it; the instalment is cleared only on the
            // matchday that over-pays.
            d.Execute("UPDATE principal SET d_total = d_total - d_b_mensal, d_b_divida = d_b_divida - d_b_mensal, "
                      "d_out = d_out + d_b_mensal");
            d.Execute("UPDATE principal SET d_total = d_total - d_b_divida, d_out = d_out + d_b_divida, "
                      "d_b_mensal = 0, d_b_divida = 0 WHERE d_b_divida < 0");
        }
        if (Ler_Saldo() < -1000000 && Ler_Divida() > 0) {
            fim = Fim::Vender_Jogadores;
            while (Capacidade_Estadio(Clube_Treinador) > 10000) {
                if (Ler_Saldo() >= -1000000) {
                    fim = Fim::Vendidos;
                    break;
                }
                d.Execute("UPDATE clubes SET cap_estadio = cap_estadio - 500 WHERE clube = ?", {Clube_Treinador});
                Movimento_Financeiro("+", 50000);
                vendidos += 500;
            }
        }
        t.commit();
    } catch (const db::Erro_BD& e) {
        ui().aviso(std::string(txt("Não foi possível pagar a prestação do empréstimo.",
                                   "The loan instalment could not be paid.")) + Linha_Causa(e),
                   Icone::Critico);
        Actualizar_Financas();
        return;
    }
    Prestacao_Paga = 1;
    Actualizar_Financas();
    if (fim == Fim::Vendidos) {
        std::string saldo = std::to_string(Ler_Saldo());
        ui().aviso(ingles() ? "Was sell: " + std::to_string(vendidos) + " seats of the stadium, to pay the loan - Money: (" +
                                  saldo + ")"
                            : "Foram Vendidos: " + std::to_string(vendidos) +
                                  " Lugares do Estádio para pagar o Empréstimo - Saldo: (" + saldo + ")",
                   Icone::Critico);
    } else if (fim == Fim::Vender_Jogadores) {
        ui().aviso(txt("Tem que vender Jogador(es) até ter um Saldo de > -500.000",
                       "You must sell player until you have Money > -500.000"),
                   Icone::Critico);
    }
}

Painel_Financas Calcular_Painel_Financas() {
    Painel_Financas p;
    auto rs = base_aberta().OpenRecordset("SELECT * FROM principal WHERE equipa = ?", {Clube_Treinador});
    if (!rs.Eof()) {
        auto v = [&](const char* c) { return static_cast<long>(rs[c].inteiro()); };
        p.tem_principal = true;
        p.d_out = v("d_out");
        p.d_in = v("d_in");
        p.liquido = p.d_in - p.d_out;
        p.divida = v("d_b_divida");
        p.mensal = v("d_b_mensal");
        p.saldo = v("d_total");
        p.emp_out = v("d_emp_out");
        p.emp_in = v("d_emp_in");
        p.venda_out = v("d_venda_out");
        p.venda_in = v("d_venda_in");
        p.d_ord = v("d_Ord");
        p.estadio = v("d_estadio");
    }
    p.ordenados = Total_Ordenados();
    long a = Ler_Soma("SELECT count(nome) AS soma FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    long b = Ler_Soma("SELECT count(nome) AS soma FROM jogadores WHERE clube_origem = ?", {Clube_Treinador});
    p.jogadores = txt("Nº Jogadores: ", "Nº Players: ") + std::to_string(a) + " + " + std::to_string(b) + " = " +
                  std::to_string(a + b);
    long c = Ler_Soma("SELECT sum(preco) AS soma FROM jogadores WHERE equipa = ?", {Clube_Treinador});
    long d = Ler_Soma("SELECT sum(preco) AS soma FROM jogadores WHERE clube_origem = ?", {Clube_Treinador});
    p.valores = txt("Valor Jogadores: ", "Players Price: ") + formatar_dinheiro(c) + " + " + formatar_dinheiro(d) +
                " = " + formatar_dinheiro(c + d);
    return p;
}

void Actualizar_Financas() {
    if (painel()) painel()();
}

void registar_painel_financas(std::function<void()> actualizar) { painel() = std::move(actualizar); }

} // namespace gv
