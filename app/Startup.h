#pragma once

#include <memory>

class TAboutCalc;
class TApplication;
class TMainForm;

// The program's start, shared by the executable and the start-up benchmark:
// the application object with its title, font and icon, then the main
// window, then the hidden About window.
std::unique_ptr<TApplication> CreateApplication(int &argc, char **argv);
std::unique_ptr<TMainForm> CreateMainWindow();
