#include "ZotFileType.h"

#include "platform/Registry.h"

#include <gtest/gtest.h>

namespace quarn::test {

void RegisterZot() {
    TRegistry registry(RegistryRoot::ClassesRoot);
    ASSERT_TRUE(registry.OpenKey(".zot!", true));
    registry.WriteString("", "Quarn!");
    registry.CloseKey();
    ASSERT_TRUE(registry.OpenKey("Quarn!", true));
    registry.WriteString("", "Quarn! Encrypted File");
    registry.CloseKey();
}

} // namespace quarn::test
