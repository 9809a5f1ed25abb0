#include "season/subidas_descidas.h"

#include <string>
#include <vector>

#include "data/esquema.h"
#include "data/estado.h"
#include "season/andamento.h"

namespace gv {

namespace {

constexpr int N_Sobem = 3;

// Row identities of the first three clubs of a division in an order.
std::vector<long long> tres(int div, const char* ordem) {
    std::vector<long long> r;
    auto rs = base_aberta().OpenRecordset(std::string("SELECT rowid AS id FROM clubes WHERE div = ?") + ordem +
                                              " LIMIT " + std::to_string(N_Sobem),
                                          {div});
    for (; !rs.Eof(); rs.MoveNext()) r.push_back(rs["id"].inteiro());
    return r;
}

} // namespace

void Actualizar_Subidas_Descidas() {
    Mostrar_Actualizar("Subidas/Descidas", "Promotions");
    const auto desce_1 = tres(1, Ordem_Classificacao_Inversa);
    const auto sobe_2 = tres(2, Ordem_Classificacao);
    const auto desce_2 = tres(2, Ordem_Classificacao_Inversa);
    const auto sobe_3 = tres(3, Ordem_Classificacao);
    auto mover = [](const std::vector<long long>& clubes, int div) {
        for (long long id : clubes) base_aberta().Execute("UPDATE clubes SET div = ? WHERE rowid = ?", {div, id});
    };
    mover(sobe_2, 1);
    mover(desce_1, 2);
    mover(desce_2, 3);
    mover(sobe_3, 2);
}

} // namespace gv
