// The program's windows on any window host: what both builds start and the handler tests drive.
#pragma once

#include "forms/window_host.h"
#include "mainwindow/Form1.h"
#include "mainwindow/command_line.h"

namespace program {

// Defines the three windows and the icon, shows the main one and does in it what REQUEST asks.
// False when the main window could not start: it has said why and ended the program.
bool start(forms::WindowHost& host, const mainwindow::Form1Services& services,
           const mainwindow::CommandLine& request = {});

}  // namespace program
