// The form loader: reads a form's description from the resources folder
// onto the form object.
//
// Components are created in file order, owned by the form, each placed on
// the component it is written inside; every component (the form too) has
// csLoading while properties are applied in file order. References are
// fixed once the whole form is read: to the form's own components, and to
// another form's (Form1.Name) once that form exists and has been read.
// Then Loaded runs on the form and each component in the order they were
// read. Any error names the file and line (EFormDescriptionError).
#pragma once

#include "platform/toolkit/formparser.h"

class TCustomForm;

// The folder that holds the resources: descriptions in its "forms" folder,
// pictures and skins named relative to it. Starts as the program's folder
// plus "resources/".
String ResourceFolder();
void SetResourceFolder(const String& AFolder);

// Reads AForm's description when its class registered one (RegisterForm);
// false when it has none.
bool ReadFormDescription(TCustomForm* AForm);
// Reads the description in AFileName onto ARoot (whose class must be the
// one the description names).
void ReadDescriptionFile(TComponent* ARoot, const String& AFileName);
