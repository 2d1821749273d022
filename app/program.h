// The program's start-up, shared by main and the tests: the application's
// title and help file, the forms in their order, the message loop.
#pragma once

// Sets up the application and creates the forms, the main window first;
// says once when the settings could not be saved.
void CreateProgramForms();
// CreateProgramForms, then the message loop until the main window closes.
int RunProgram();
