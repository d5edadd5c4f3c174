// The numbered texts of the user interface, from Data\Language.ini.
#pragma once

#include <array>
#include <string>

#include "release/ini_file.h"

namespace release {

// The words by what they are for; the numbers are their keys in [Words].
// Words 22, 23, 47, 48, 57, 58 and 72 are shown nowhere.
enum WordNumber : int {
  // The buttons of the wizard pages.
  kWordBack = 1,
  kWordNext = 2,
  kWordAbout = 3,
  kWordToBackground = 4,
  kWordCancel = 5,
  kWordFinish = 6,
  // The licence and method pages.
  kWordWelcomeHeading = 7,
  kWordLicenseHeading = 8,
  kWordLicenseHint = 9,
  kWordLicenseAccept = 10,
  kWordLicenseDecline = 11,
  kWordMethodHeading = 12,
  kWordMethodHint = 13,
  kWordAutomatic = 14,
  kWordAutomaticExplained = 15,
  kWordCustom = 16,
  kWordCustomExplained = 17,
  // The advanced page; 24 to 32 label the summary page too.
  kWordAdvancedHeading = 18,
  kWordAdvancedHint = 19,
  kWordPackagesTab = 20,
  kWordOptionsTab = 21,
  kWordUnused22 = 22,
  kWordUnused23 = 23,
  kWordSelectedPackages = 24,
  kWordAutoRestart = 25,
  kWordAutoRestartExplained = 26,
  kWordMinimize = 27,
  kWordMinimizeExplained = 28,
  kWordDeleteLogs = 29,
  kWordDeleteLogsExplained = 30,
  kWordLowPriority = 31,
  kWordLowPriorityExplained = 32,
  // Between two counts: "3 of 10".
  kWordOf = 33,
  // The summary, installation and finish pages.
  kWordSummaryHeading = 34,
  kWordSummaryHint = 35,
  kWordInstallHeading = 36,
  kWordInstallHint = 37,
  kWordCurrentStep = 38,
  kWordCurrentFile = 39,
  kWordWaitingAfterCancel = 40,
  kWordStatusGroup = 41,
  kWordProgressGroup = 42,
  kWordFinishHeading = 43,
  kWordCompleted = 44,
  kWordCancelled = 45,
  kWordAfterPostInstall = 46,
  kWordUnused47 = 47,
  kWordUnused48 = 48,
  // The details dialog.
  kWordFileNameLabel = 49,
  kWordDescriptionLabel = 50,
  kWordParametersLabel = 51,
  kWordWebLinkLabel = 52,
  kWordNoneGiven = 53,
  kWordDetailsCaption = 54,
  // The close questions.
  kWordCloseQuestion = 55,
  kWordCancelInstallQuestion = 56,
  kWordUnused57 = 57,
  kWordUnused58 = 58,
  // The About dialog.
  kWordAboutCaption = 59,
  kWordAboutReleaseTab = 60,
  kWordAboutInstallerTab = 61,
  kWordReadme = 62,
  kWordClose = 63,
  kWordDistributedBy = 64,
  // The advanced and summary pages, the installation status line, the finish page.
  kWordNothingSelected = 65,
  kWordOptionOn = 66,
  kWordOptionOff = 67,
  kWordInstallingPackage = 68,
  kWordDontRestartNow = 69,
  // The tray.
  kWordRestore = 70,
  kWordTrayInstalling = 71,
  kWordUnused72 = 72,
  // The restart prompt.
  kWordRestartNeeded = 73,
  kWordRestartContinues = 74,
  kWordClosePrograms = 75,
  kWordRestartCaption = 76,
  kWordRestartNow = 77,
  // The words that came later, with built-in German texts: the finish page's failures.
  kWordCompletedWithFailures = 78,
  kWordExitCode = 79,
  kWordNotStarted = 80,
  // The advanced page's list and menu.
  kWordNameColumn = 81,
  kWordSelectAll = 82,
  kWordSelectNone = 83,
  kWordSelectMenu = 84,
  kWordDetailsMenu = 85,
  // The message dialogs.
  kWordConfirmCaption = 86,
  kWordYes = 87,
  kWordNo = 88,
  // The automatic restart.
  kWordAutoRestartCaption = 89,
  kWordAutoRestartCountdown = 90,
  kWordInformationCaption = 91,
  kWordErrorCaption = 92,
  kWordOk = 93,
  // A restart and its continuation.
  kWordContinuesAfterRestart = 94,
  kWordRestartFailed = 95,
  kWordRestartVetoed = 96,
  // One installer at a time, the continuation file.
  kWordAnotherInstallerRuns = 97,
  kWordHandOverFailed = 98,
  kWordFileNotWritable = 99,
  kWordRunOnceNotWritten = 100,
  kWordContinuationUnreadable = 101,
  kWordRenamedTo = 102,
  kWordDeleted = 103,
  kWordNotRemoved = 104,
  kWordAnotherInstallerRunsQuestion = 105,
  kWordWaitingForTheOther = 106,
  kWordInterruptedTwice = 107,
  // The continuation after a logon.
  kWordWaitingForInstallFolder = 108,
  kWordCancelWaiting = 109,
  kWordStaysForNextLogon = 110,
  // Detection and checksums.
  kWordAlreadyInstalled = 111,
  kWordDamagedFile = 112,
  kWordNotApplicable = 113,
  // A restart that Windows already waits for.
  kWordPendingRestartQuestion = 114,
  kWordRestartFirst = 115,
  kWordInstallAnyway = 116,
  // The About dialog's line about the installer.
  kWordAboutInstaller = 117,
  // The local starter gives the run up.
  kWordReleaseFolderGone = 118,
  // The usage of "/?", line by line: the command, a line for each switch, the
  // exit codes.
  kWordUsageCommand = 119,
  kWordUsageSilent = 120,
  kWordUsageNoRestart = 121,
  kWordUsageLog = 122,
  kWordUsageResumeAtBoot = 123,
  kWordUsageRelease = 124,
  kWordUsageExitCodes = 125,
  // The error reports: a text that is no integer, an index outside its table,
  // a file that can't be read, pictures that can't be shown.
  kWordNotAnInteger = 126,
  kWordRangeError = 127,
  kWordFileNotOpened = 128,
  kWordBadBitmap = 129,
  kWordBadIcon = 130,
  kWordUnknownPictureKind = 131,
  // A package of a kind that no installer of the system runs.
  kWordNoInstaller = 132,
  // The cancel question while the installation waits for another installer.
  kWordCancelWaitQuestion = 133,
};

class WordTable {
 public:
  // Words 1 to 77 of the original set, then the words that came later.
  static constexpr int kCount = 133;
  static constexpr int kOriginalCount = 77;
  static constexpr const char* kFallback = "Error in Language File";

  // A missing word of the original set shows kFallback; a later one its
  // built-in German text, so that an older Language.ini still reads well.
  static std::string Missing(int n);

  WordTable();

  // Word n, 1 <= n <= kCount; throws RangeError otherwise.
  const std::string& operator[](int n) const;
  std::string& operator[](int n);

 private:
  std::array<std::string, kCount> words_;
};

static_assert(WordTable::kOriginalCount == kWordRestartNow &&
                  WordTable::kCount == kWordCancelWaitQuestion,
              "a name for every word");

// Words 1 to kCount from the keys 001, 002, ... of [Words].
WordTable LoadWords(const Profile& ini);

// A word with its first "%s" standing for `detail`.
std::string WithDetail(std::string text, const std::string& detail);

}  // namespace release
