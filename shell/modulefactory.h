#pragma once
// How the shell builds the module windows: registerModuleWindows hands it
// their constructors at start.

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

// Hands the shell every module window of the program (modules.cpp).
void registerModuleWindows();
