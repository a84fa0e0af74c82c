#pragma once
// The commands of keyholm-cli. Each reads its own options (and --help), says
// what went wrong on the standard error, and gives the exit status: 0 done,
// 1 failed, 2 wrong use.

#include <QStringList>

namespace keyholm::cli {

// `arguments` as the program got them, its own name first.
int Run(const QStringList& arguments);

} // namespace keyholm::cli
