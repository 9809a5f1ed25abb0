#include "market/estadio.h"

#include "data/clubes.h"
#include "data/erros.h"
#include "data/estado.h"
#include "data/financas.h"
#include "market/comum.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"

namespace gv {

namespace {

std::string sem_dinheiro(long saldo) {
    return txt("Não tem Dinheiro suficiente - Saldo: (", "You don't have enough money - Money: (") +
           std::to_string(saldo) + ")";
}

} // namespace

float Fraccao_Estadio(long capacidade) {
    return static_cast<float>(capacidade) * 100.0f / 10000000.0f;
}

std::string Texto_Estadio(long capacidade) {
    return formatar_dinheiro(capacidade) + txt(" Lugares", " Seats");
}

Resultado_Negocio Ampliar_Estadio(long lugares) {
    try {
        const long saldo = Ler_Saldo();
        // A club already past the floor cannot buy any seats at all.
        if (saldo < Limite_Saldo) {
            ui().aviso(txt("Não tem Dinheiro suficiente", "You don't have enough money"), Icone::Critico);
            return Resultado_Negocio::Recusado;
        }
        if (lugares < Lugares_Minimos) {
            ui().aviso(txt("Tem que comprar pelo menos 1000 lugares.", "You must buy at least 1000 seats."), Icone::Critico);
            return Resultado_Negocio::Recusado;
        }
        const long capacidade = Capacidade_Estadio(Clube_Treinador);
        if (capacidade + lugares > Capacidade_Maxima) {
            ui().aviso(txt("A capacidade Maxima é de 100000 lugares.", "The Max. stadium capacity is 100000 seats."),
                       Icone::Critico);
            return Resultado_Negocio::Recusado;
        }
        const long preco = lugares * Preco_Lugar;
        if (saldo - preco < Limite_Saldo) {
            ui().aviso(sem_dinheiro(saldo), Icone::Critico);
            return Resultado_Negocio::Recusado;
        }
        auto r = Numa_Transaccao([&] {
            base_aberta().Execute("UPDATE clubes SET cap_estadio = cap_estadio + ? WHERE clube = ?", {lugares, Clube_Treinador});
            Movimento_Financeiro("-", preco);
        });
        if (r != Resultado_Negocio::Feito) return r;
        Actualizar_Financas();
        ui().aviso(txt("Estadio Ampliado em ", "The stadium was upgraded in ") + std::to_string(lugares) +
                       txt(" lugares.", " seats."),
                   Icone::Informacao);
        return r;
    } catch (const db::Erro_BD& e) {
        Negocio_Falhou(e);
        return Resultado_Negocio::Falhou;
    }
}

} // namespace gv
