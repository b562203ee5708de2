// Fixed Windows paths mapped to files through the settings store, and libraries loaded through
// that mapping.
#include "library_loader.h"
#include "windows_paths.h"

#include "test_environment.h"

namespace {

class WindowsPaths : public testsupport::TestEnvironment {};

TEST_F(WindowsPaths, APathIsItsMappedFileElseItself) {
    auto& store = platform::SettingsStore::current();
    EXPECT_EQ(platform::mappedFile("c:\\Arcus2\\cheq.out"), "c:\\Arcus2\\cheq.out");
    platform::mapWindowsPath("c:\\Arcus2\\cheq.out", "/srv/arcus/cheq.out");
    EXPECT_EQ(platform::mappedFile("c:\\Arcus2\\cheq.out"), "/srv/arcus/cheq.out");
    EXPECT_EQ(platform::mappedFile("C:\\ARCUS2\\CHEQ.OUT"), "/srv/arcus/cheq.out");  // as the registry compares
    // The store is read afresh: another program's change is seen, and a blank value maps nothing.
    platform::SettingsStore(store.path()).writeText(platform::kWindowsPathsKey, "c:\\Arcus2\\cheq.out", "  ");
    EXPECT_EQ(platform::mappedFile("c:\\Arcus2\\cheq.out"), "c:\\Arcus2\\cheq.out");
}

TEST_F(WindowsPaths, ALibraryLoadsFromItsMappedFileAndTheTestTableComesFirst) {
    platform::LoadedLibrary lib;
    EXPECT_FALSE(lib.load("c:\\Vendor\\dll\\vendor.dll"));
    platform::mapWindowsPath("c:\\Vendor\\dll\\vendor.dll", "libz.so.1");
    ASSERT_TRUE(lib.load("c:\\Vendor\\dll\\vendor.dll"));
    EXPECT_NE(lib.symbol("crc32"), nullptr);
    platform::LoadedLibrary::substitute("c:\\Vendor\\dll\\vendor.dll", "no-such-library.so");
    EXPECT_FALSE(lib.load("c:\\Vendor\\dll\\vendor.dll"));
    platform::LoadedLibrary::clearSubstitutions();
}

}  // namespace
