#include "data/carreira.h"

#include "data/estado.h"

namespace gv {

namespace {

int ler(const std::string& coluna) {
    auto rs = base_aberta().OpenRecordset("SELECT " + coluna + " FROM principal LIMIT 1");
    if (rs.Eof()) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "A tabela principal está vazia");
    return rs[coluna].int32();
}

} // namespace

int Ler_V_E_D(const std::string& campo) {
    if (campo != "v" && campo != "e" && campo != "d") return 0;
    return ler(campo);
}

int Ler_GC_PC(const std::string& campo) {
    if (campo != "gc" && campo != "pc") return 0;
    return ler(campo);
}

void Zerar_V_E_D_GC_PC() { base_aberta().Execute("UPDATE principal SET v = 0, e = 0, d = 0, gc = 0, pc = 0"); }

void Registar_Resultado_V_E_D_GC_PC(int m, int s) {
    auto& d = base_aberta();
    if (m == s) {
        // A draw carries on whichever run is going; with none going it
        // starts an unbeaten run.
        d.Execute(
            "UPDATE principal SET e = e + 1, v = 0, d = 0, "
            "pc = CASE WHEN gc = 0 AND pc > 0 THEN pc + 1 WHEN pc = 0 THEN 0 ELSE pc END, "
            "gc = CASE WHEN gc = 0 AND pc > 0 THEN 0 WHEN pc = 0 THEN gc + 1 ELSE gc END");
    } else if (m > s) {
        d.Execute("UPDATE principal SET v = v + 1, e = 0, d = 0, gc = gc + 1, pc = 0");
    } else {
        d.Execute("UPDATE principal SET d = d + 1, e = 0, v = 0, pc = pc + 1, gc = 0");
    }
}

int Ler_T_Contrato() { return ler("T_contrato"); }

} // namespace gv
