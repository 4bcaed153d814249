# SPDX-License-Identifier: GPL-3.0-or-later
# The core tests that check what only other systems have; each has its
# Windows counterpart in a windows_*_test.cc.
set(SPRAVKA_TESTS_NOT_ON_WINDOWS
  # Permission bits: Windows has attributes instead
  # (WindowsFileSystemTest.AttributesStayButReadOnlyGoesBeforeAWrite).
  SaveTest.KeepsPermissionsAndMakesAReadOnlyFileWritableForItsOwnerOnly
  RestoreTest.CutsTheFileToItsBasePartAndKeepsItsPermissions
  RestoreTest.AReadOnlyFileBecomesWritableForItsOwner
  OptimiserTest.TheRebuiltFileKeepsThePermissionsOfThePreviousOne
  # Symbolic links: MinGW's std::filesystem cannot make them, and Wine's
  # CreateSymbolicLinkW reports success without making one.
  SaveTest.SavingThroughALinkKeepsTheLinkAndUpdatesItsFile
  RestoreTest.ALinkStaysALinkToTheRestoredFile
  OptimiserTest.ABaseReachedThroughALinkIsRebuiltAndBackedUpWhereItLies
  # Permission bits (WindowsFileSystemTest.AttributesStayButReadOnlyGoesBeforeAWrite).
  WriterLockTest.AFailedWriteLeavesAReadOnlyBaseReadOnly
  # POSIX paths, where "/" alone separates and "/x" is no network path
  # (WindowsPathsTest, WindowsTownNamesTest, RegistryFileTypeTest).
  PathsTest.FolderAndFileNameParts
  PathsTest.AbsolutePathsAreLexicallyNormal
  TownNamesTest.BaseToTownNameAndBack
  FileTypeTest.WrittenOnceAndAgainForAnotherExecutable
  FileTypeTest.FailuresAreSwallowed
)
