#pragma once
// How the shell builds the module windows. The shell does not link the
// modules; the program (and the tests) hand it the constructors at start.

#include <QMainWindow>
#include <functional>

struct ModuleWindowFactory
{
    using Create = std::function<QMainWindow *(QWidget *parent)>;
    Create sales;
    Create purchase;
    Create expenses;
    Create salary;
    Create inventory;
};

void setModuleWindowFactory(const ModuleWindowFactory &factory);
const ModuleWindowFactory &moduleWindowFactory();

// Hands the shell every module window of the program (defined with the program).
void registerModuleWindows();
