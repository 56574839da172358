// Start-up and shutdown of the program.
#pragma once

// Registers every class with the framework, the framework's first.
void RegisterClasses();
// Makes the application object with its menu bar and registers it.
void NewAppInstance();
// Binds the nine menu commands to their item names.
void ApplicationAddMenuHandlers();
// Opens the default window.
void MakeDefaultView();
// Start-up up to the event loop, the event loop, and the return from it; an exception that
// escapes is reported and the function returns normally.
void Main();
// Releases what the program held for the whole run, in order.
void Finalize();
