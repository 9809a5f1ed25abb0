#include "market/banco.h"

#include <cmath>
#include <cstdio>

#include "data/clubes.h"
#include "data/consultas.h"
#include "data/erros.h"
#include "data/estado.h"
#include "data/financas.h"
#include "market/comum.h"
#include "platform/interface_utilizador.h"

namespace gv {

namespace {

Resultado_Negocio recusar(const char* pt, const char* en) {
    ui().aviso(txt(pt, en), Icone::Critico);
    return Resultado_Negocio::Recusado;
}

} // namespace

double Limite_Emprestimo() {
    const long long valor_plantel =
        base_aberta().valor("SELECT sum(preco) AS soma FROM jogadores WHERE equipa = ?", {Clube_Treinador}).inteiro();
    const long lugares = static_cast<long>(Capacidade_Estadio(Clube_Treinador)) - 10000;
    return static_cast<double>(valor_plantel) / 2 + static_cast<double>(lugares * 125L);
}

std::string Texto_Limite(double limite) {
    char b[48];
    if (limite == std::floor(limite))
        std::snprintf(b, sizeof b, "%.0f", limite);
    else
        std::snprintf(b, sizeof b, "%.1f", limite);
    return b;
}

Calculo_Emprestimo Calcular_Emprestimo(double valor, int epocas) {
    Calculo_Emprestimo c;
    if (epocas < 1) return c;
    double factor = 1;
    for (int i = 0; i < epocas; ++i) factor *= 1.05;
    c.prestacao = static_cast<long>(std::floor(valor * factor / (epocas * 34)));
    c.total = static_cast<long>(std::floor(valor * factor));
    return c;
}

Resultado_Negocio Pedir_Emprestimo(long valor, int epocas) {
    try {
        if (valor <= 10000)
            return recusar("O valor do emprestimo tem que ser maior que 10000.", "The loan must be higher than 10000.");
        if (static_cast<double>(valor) > Limite_Emprestimo())
            return recusar("Valor do Emprestimo muito Alto.", "The amount of the loan is too high.");
        if (Ler_Divida() != 0) return recusar("Já tem um Empréstimo.", "You already have one Bank loan.");
        const Calculo_Emprestimo c = Calcular_Emprestimo(static_cast<double>(valor), epocas);
        auto r = Numa_Transaccao([&] {
            base_aberta().Execute("UPDATE principal SET d_b_divida = ?, d_b_mensal = ?", {c.total, c.prestacao});
            Movimento_Financeiro("+", valor);
        });
        if (r != Resultado_Negocio::Feito) return r;
        Actualizar_Financas();
        ui().aviso(txt("Emprestimo efectuado.", "The Loan was done."), Icone::Informacao);
        return r;
    } catch (const db::Erro_BD& e) {
        Negocio_Falhou(e);
        return Resultado_Negocio::Falhou;
    }
}

Resultado_Negocio Amortizar_Emprestimo(long valor) {
    try {
        const long divida = Ler_Divida();
        if (divida == 0) return recusar("Não tem nenhum Empréstimo.", "You don't have any Bank Loan.");
        if (valor > divida) return recusar("O Empréstimo não é tao Elevado.", "The Loan isn't so high.");
        if (valor <= 1000)
            return recusar("O valor da amortização tem que ser maior que 1000.",
                           "The amount of the payment must be higher than 1000.");
        auto r = Numa_Transaccao([&] {
            base_aberta().Execute("UPDATE principal SET d_b_divida = d_b_divida - ?", {valor});
            Movimento_Financeiro("-", valor);
        });
        if (r != Resultado_Negocio::Feito) return r;
        Actualizar_Financas();
        ui().aviso(txt("Amortização efectuada.", "The Payment was done."), Icone::Informacao);
        return r;
    } catch (const db::Erro_BD& e) {
        Negocio_Falhou(e);
        return Resultado_Negocio::Falhou;
    }
}

} // namespace gv
