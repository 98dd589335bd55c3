// Why the host module is missing: the cases the program reports.
#pragma once

// Not configured comes first: a state never loaded reads as that.
enum ModuleProblem {
    kModuleNotConfigured,
    kModuleUsable,
    kModuleNotFound,
    kModuleNotAModule,
    kModuleNoStringTables,
    kModuleDamaged,
};
