#pragma once
// Every screen test runs with one QApplication (offscreen platform when
// nothing else is set) and ends with all screens released.

#include <QApplication>
#include <QElapsedTimer>

#include <functional>

namespace gv::teste {

// Processes events until `feito` holds or `ms` pass; returns whether it held.
bool esperar_ate(const std::function<bool()>& feito, int ms);

// Deletes the screens unloaded so far (deferred deletes).
void apagar_pendentes();

} // namespace gv::teste
