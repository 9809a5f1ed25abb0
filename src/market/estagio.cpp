#include "market/estagio.h"

#include <cmath>

#include "data/clubes.h"
#include "data/consultas.h"
#include "data/erros.h"
#include "data/estado.h"
#include "data/financas.h"
#include "market/comum.h"
#include "platform/interface_utilizador.h"

namespace gv {

namespace {

double factor_divisao(int div) {
    switch (div) {
    case 1: return 3;
    case 2: return 2.5;
    case 3: return 2;
    default: return 0;
    }
}

} // namespace

bool Estagio_Permitido() {
    if (Jornada_Actual != 1 && Jornada_Actual != 10 && Jornada_Actual != 20 && Jornada_Actual != 30) {
        ui().aviso(txt("A equipa só pode ir para Estágio nas jornadas: 1, 10, 20, 30",
                       "The team can only go to traning on the matchs: 1, 10, 20, 30"),
                   Icone::Critico);
        return false;
    }
    if (Estagio_Feito == 1) {
        ui().aviso(txt("Os jogadores só podem ir uma vez por jornada para Estágio.",
                       "The players can only go one time for training."),
                   Icone::Critico);
        return false;
    }
    return true;
}

long Preco_Estagio(int nivel) {
    const Nivel_Estagio& n = Niveis_Estagio.at(static_cast<std::size_t>(nivel - 1));
    const long long ordenados =
        base_aberta()
            .valor("SELECT sum(ordenado) AS soma FROM jogadores WHERE equipa = ? OR clube_origem = ?",
                   {Clube_Treinador, Clube_Treinador})
            .inteiro();
    const long long lugares = Capacidade_Estadio(Clube_Treinador);
    const double f = factor_divisao(Divisao_Clube(Clube_Treinador));
    return static_cast<long>(std::floor(static_cast<double>(ordenados + lugares) * n.multiplicador * f));
}

Resultado_Negocio Marcar_Estagio(int nivel) {
    Estagio_Feito = 1;
    long preco = 0;
    try {
        preco = Preco_Estagio(nivel);
    } catch (const db::Erro_BD& e) {
        Negocio_Falhou(e);
        return Resultado_Negocio::Falhou;
    }
    const long saldo = Ler_Saldo();
    if (saldo - preco < Limite_Saldo) {
        ui().aviso(txt("Não tem Dinheiro suficiente - Saldo: (", "You don't have enough money - Money: (") +
                       std::to_string(saldo) + ")",
                   Icone::Critico);
        return Resultado_Negocio::Recusado;
    }
    const int ganho = Niveis_Estagio.at(static_cast<std::size_t>(nivel - 1)).ganho;
    auto r = Numa_Transaccao([&] {
        Movimento_Financeiro("-", preco);
        base_aberta().Execute("UPDATE jogadores SET forca = forca + ? WHERE equipa = ? AND joga <> 3",
                              {ganho, Clube_Treinador});
    });
    if (r != Resultado_Negocio::Feito) return r;
    Actualizar_Financas();
    ui().aviso(txt("Estágio Realizado.", "Training done."), Icone::Informacao);
    return r;
}

} // namespace gv
