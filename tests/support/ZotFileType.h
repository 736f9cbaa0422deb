#pragma once

namespace quarn::test {

// Registers ".zot!" in HKEY_CLASSES_ROOT as the program does: the extension names the type
// "Quarn!", whose description is "Quarn! Encrypted File".
void RegisterZot();

} // namespace quarn::test
