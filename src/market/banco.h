#pragma once
// The bank: one loan at a time, limited by the squad's value and the
// stadium, 5 % a season compounded, paid back in equal instalments over 34
// matchdays a season; and early repayment.

#include <string>

#include "desk/negocios.h"

namespace gv {

// Half the value of the manager's players plus 125 per seat above 10,000
// (a smaller stadium lowers it). A half shows in the result.
double Limite_Emprestimo();
// The limit as the bank's frame shows it: plain digits, a half with ".5".
std::string Texto_Limite(double limite);

struct Calculo_Emprestimo {
    long prestacao = 0;   // per matchday
    long total = 0;       // to repay
};
// amount * 1.05^epocas, spread over epocas * 34 matchdays, both floored.
// Zero when the length is not a whole season or more.
Calculo_Emprestimo Calcular_Emprestimo(double valor, int epocas);

// Takes a loan: refuses (message, nothing written) an amount of 10,000 or
// less, one above the limit, or a second loan; otherwise stores debt and
// instalment and pays the amount in, all in one transaction.
Resultado_Negocio Pedir_Emprestimo(long valor, int epocas);
// Repays part or all of the debt early; the instalment stays, so what is
// left is paid off sooner. Refuses without a loan, above the debt, or for
// 1,000 or less.
Resultado_Negocio Amortizar_Emprestimo(long valor);

} // namespace gv
