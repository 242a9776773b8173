// The packer as its users run it: pack, then install the packed setup under Wine;
// and every refusal, with its message and without an output file.
#include <gtest/gtest.h>

#include <functional>

#include "test_support.h"

namespace {

const char kAppManagerFolder[] = "C:\\Program Files\\Microsoft ActiveSync";

std::string Data(const std::string& name) { return ts::TestBin("packer-data\\" + name); }
std::string Quote(const std::string& text) { return "\"" + text + "\""; }
std::string AppManager() { return std::string(kAppManagerFolder) + "\\CEAPPMGR.EXE"; }

// A fresh folder of the test's own.
std::string WorkFolder()
{
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name)
        if (c == '/')
            c = '-';  // parameterised tests are named "Test/Case"
    std::string folder = "C:\\packer-tests\\" + name;
    ts::RemoveTree(folder);
    ts::CreateFolders(folder);
    return folder;
}

struct PackJob {
    std::string title = "Tide Tables";
    std::string description = Data("description.txt");
    std::string license = Data("license.txt");
    std::vector<std::string> cabs = {Data("TideTables.cab")};
    std::string component;  // empty: not given
    std::string arch;       // empty: not given
    std::string stub;       // empty: the carried one
    std::string output;
    std::string extra;      // further arguments as they stand

    std::string CommandLine() const
    {
        std::string line = Quote(ts::ShippedBin("packer.exe")) + " --title " + Quote(title) + " --description "
            + Quote(description) + " --license " + Quote(license);
        for (const std::string& cab : cabs)
            line += " --cab " + Quote(cab);
        if (!component.empty())
            line += " --component " + Quote(component);
        if (!arch.empty())
            line += " --arch " + arch;
        if (!stub.empty())
            line += " --stub " + Quote(stub);
        if (!extra.empty())
            line += " " + extra;
        return line + " -o " + Quote(output);
    }
};

ts::OutputRun Pack(const PackJob& job)
{
    return ts::RunCapturingOutput(job.CommandLine());
}

::testing::AssertionResult Packed(const ts::OutputRun& run)
{
    if (!run.finished)
        return ::testing::AssertionFailure() << "the packer did not end";
    if (run.exitCode != 0)
        return ::testing::AssertionFailure() << "exit code " << run.exitCode << ", errors: " << run.errors;
    if (!run.errors.empty())
        return ::testing::AssertionFailure() << "a successful run wrote errors: " << run.errors;
    return ::testing::AssertionSuccess();
}

WORD MachineOf(const std::string& image)
{
    if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0)
        return 0;
    DWORD pe = *reinterpret_cast<const DWORD*>(image.data() + 0x3C);
    if (image.size() < pe + 6 || image.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
        return 0;
    return *reinterpret_cast<const WORD*>(image.data() + pe + 4);
}

std::string Resource(const std::string& program, int type, int id)
{
    std::string bytes;
    if (!ts::ReadProgramResource(program, type, id, &bytes))
        return "<missing>";
    return bytes;
}

// The sample cabinet with its set id changed: a different file that is still a
// well-formed cabinet of the same size.
std::string VariantCabinet(int setId)
{
    std::string cab = ts::ReadFileBytes(Data("TideTables.cab"));
    cab[32] = static_cast<char>(setId);
    cab[33] = static_cast<char>(setId >> 8);
    return cab;
}

// Installs a packed setup made with the installing stub: removes what an earlier run
// left, runs it with the stand-in Application Manager and checks the outcome.
void InstallAndCheck(const std::string& setup, const std::string& title, const std::vector<std::string>& expectedFiles)
{
    std::string folder = std::string(kAppManagerFolder) + "\\" + title;
    ts::RemoveTree(folder);
    ts::DeleteTree(HKEY_LOCAL_MACHINE, std::string(ts::kUninstallRoot) + "\\" + title);
    ts::InstallAppManager(AppManager());

    ts::RunResult run = ts::Run(Quote(setup));
    ASSERT_TRUE(run.finished);
    for (const ts::MessageBoxSeen& box : run.boxes)
        ADD_FAILURE() << "message box '" << box.caption << "': " << box.text;
    EXPECT_EQ(0u, run.exitCode);

    std::vector<std::string> sorted = expectedFiles;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, ts::FolderEntries(folder));

    std::string entry = std::string(ts::kUninstallRoot) + "\\" + title;
    EXPECT_EQ(title, ts::ReadString(HKEY_LOCAL_MACHINE, entry, "DisplayName"));
    EXPECT_EQ(Quote(folder + "\\Uninstall.exe") + " " + title,
              ts::ReadString(HKEY_LOCAL_MACHINE, entry, "UninstallString"));
    EXPECT_EQ(Quote(AppManager()) + " " + Quote(folder + "\\install.ini"), ts::WaitForLaunch(AppManager()));
}

// ---- packing and installing ----

TEST(Packer, HelpShowsTheUsage)
{
    for (const char* option : {"--help", "-h"}) {
        SCOPED_TRACE(option);
        ts::OutputRun run = ts::RunCapturingOutput(Quote(ts::ShippedBin("packer.exe")) + " " + option);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_EQ("", run.errors);
        for (const char* text : {"Usage: packer --title TEXT --description FILE --license FILE --cab FILE",
                                 "[--component NAME] [--arch x86|x64] -o OUT.exe", "at most 65535 bytes",
                                 "1 to 79 characters", "at most 32", "64 kept"})
            EXPECT_NE(std::string::npos, run.output.find(text)) << text << "\n" << run.output;
    }
}

TEST(Packer, InstallsOneCabinetAsGiven)
{
    std::string work = WorkFolder();
    PackJob job;
    job.arch = "x64";
    job.stub = ts::TestBin("packer_install_stub.exe");
    job.output = work + "\\setup.exe";
    // An earlier file of that name is replaced.
    ASSERT_TRUE(ts::WriteFileBytes(job.output, "an older setup"));
    ASSERT_TRUE(Packed(Pack(job)));
    EXPECT_EQ(std::vector<std::string>{"setup.exe"}, ts::FolderEntries(work)) << "a temporary file was left";

    InstallAndCheck(job.output, "Tide Tables", {"install.ini", "Uninstall.exe", "TideTables.cab"});
    std::string folder = std::string(kAppManagerFolder) + "\\Tide Tables\\";
    // The generated descriptor is the sample's committed one, byte for byte.
    EXPECT_EQ(ts::ReadFileBytes(Data("install.ini")), ts::ReadFileBytes(folder + "install.ini"));
    EXPECT_EQ(ts::ReadFileBytes(ts::ShippedBin("Uninstall.exe")), ts::ReadFileBytes(folder + "Uninstall.exe"));
    EXPECT_EQ(ts::ReadFileBytes(Data("TideTables.cab")), ts::ReadFileBytes(folder + "TideTables.cab"));
}

TEST(Packer, InstallsThreeCabinetsInTheOrderGiven)
{
    std::string work = WorkFolder();
    const char* names[] = {"TideTables.PPC2003.cab", "TideTables.WM5.cab", "TideTables.WM6.cab"};
    PackJob job;
    job.title = "Tide Tables Pro";
    job.cabs.clear();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(ts::WriteFileBytes(work + "\\" + names[i], VariantCabinet(100 + i)));
        job.cabs.push_back(work + "\\" + names[i]);
    }
    job.arch = "x64";
    job.stub = ts::TestBin("packer_install_stub.exe");
    job.output = work + "\\setup.exe";
    ASSERT_TRUE(Packed(Pack(job)));

    InstallAndCheck(job.output, job.title,
                    {"install.ini", "Uninstall.exe", names[0], names[1], names[2]});
    std::string folder = std::string(kAppManagerFolder) + "\\Tide Tables Pro\\";
    // The component is named after the first cabinet when no --component is given.
    EXPECT_EQ("[CEAppManager]\r\n"
              "Version      = 1.0\r\n"
              "Component    = Tide Tables Pro\r\n"
              "\r\n"
              "[Tide Tables Pro]\r\n"
              "Description  = TideTables.PPC2003\r\n"
              "Uninstall    = TideTables.PPC2003\r\n"
              "CabFiles     = TideTables.PPC2003.cab,TideTables.WM5.cab,TideTables.WM6.cab\r\n",
              ts::ReadFileBytes(folder + "install.ini"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(VariantCabinet(100 + i), ts::ReadFileBytes(folder + names[i])) << names[i];
}

TEST(Packer, WritesThePackageResources)
{
    std::string work = WorkFolder();
    PackJob job;
    job.cabs.push_back(Data("TideTables.cab"));
    ASSERT_TRUE(ts::WriteFileBytes(work + "\\Second.cab", VariantCabinet(7)));
    job.cabs = {Data("TideTables.cab"), work + "\\Second.cab"};
    job.component = "Tides";
    job.arch = "x64";
    job.output = work + "\\setup.exe";
    ASSERT_TRUE(Packed(Pack(job)));

    const std::string& setup = job.output;
    EXPECT_EQ(std::string("Tide Tables\0", 12), Resource(setup, 103, 2));
    EXPECT_EQ(ts::ReadFileBytes(Data("sample-description-cp1252.txt")) + '\0', Resource(setup, 102, 4));
    EXPECT_EQ(ts::ReadFileBytes(Data("sample-license-cp1252.txt")) + '\0', Resource(setup, 102, 5));
    EXPECT_EQ("[CEAppManager]\r\nVersion      = 1.0\r\nComponent    = Tide Tables\r\n\r\n[Tide Tables]\r\n"
              "Description  = Tides\r\nUninstall    = Tides\r\nCabFiles     = TideTables.cab,Second.cab\r\n",
              Resource(setup, 100, 1));
    EXPECT_EQ(std::string("install.ini\0", 12), Resource(setup, 101, 1));
    EXPECT_EQ(ts::ReadFileBytes(ts::ShippedBin("Uninstall.exe")), Resource(setup, 100, 2));
    EXPECT_EQ(std::string("Uninstall.exe\0", 14), Resource(setup, 101, 2));
    EXPECT_EQ(ts::ReadFileBytes(Data("TideTables.cab")), Resource(setup, 100, 3));
    EXPECT_EQ(std::string("TideTables.cab\0", 15), Resource(setup, 101, 3));
    EXPECT_EQ(VariantCabinet(7), Resource(setup, 100, 4));
    EXPECT_EQ(std::string("Second.cab\0", 11), Resource(setup, 101, 4));
    EXPECT_EQ("<missing>", Resource(setup, 100, 5));
    // The stub's own resources stay: the string table and the version.
    EXPECT_NE("<missing>", Resource(setup, 6, 1));
    EXPECT_NE("<missing>", Resource(setup, 16, 1));
    EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, MachineOf(ts::ReadFileBytes(setup)));
}

TEST(Packer, WritesAnX86SetupByDefault)
{
    std::string work = WorkFolder();
    PackJob job;
    job.output = work + "\\setup.exe";
    ASSERT_TRUE(Packed(Pack(job)));
    std::string x86Uninstaller = ts::ShippedBinDir() + "\\..\\other-x86\\bin\\Uninstall.exe";
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, MachineOf(ts::ReadFileBytes(job.output)));
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, MachineOf(ts::ReadFileBytes(x86Uninstaller)));
    EXPECT_EQ(ts::ReadFileBytes(x86Uninstaller), Resource(job.output, 100, 2));
    EXPECT_EQ(ts::ReadFileBytes(Data("install.ini")), Resource(job.output, 100, 1));
    EXPECT_NE("<missing>", Resource(job.output, 6, 1));
}

TEST(Packer, AcceptsInputsAtTheLimits)
{
    std::string work = WorkFolder();
    PackJob job;
    job.title = std::string(79, 'T');
    // 65533 characters and CR LF: exactly the largest page text.
    ASSERT_TRUE(ts::WriteFileBytes(work + "\\license.txt", std::string(65533, 'a') + "\n"));
    job.license = work + "\\license.txt";
    // A byte-order mark, every kind of line end, and characters of code page 1252's upper half.
    ASSERT_TRUE(ts::WriteFileBytes(work + "\\description.txt",
                                   "\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e\r\n\xE2\x82\xAC 5\rline\nend"));
    job.description = work + "\\description.txt";
    job.arch = "x64";
    job.output = work + "\\setup.exe";
    ASSERT_TRUE(Packed(Pack(job)));
    EXPECT_EQ(job.title + '\0', Resource(job.output, 103, 2));
    EXPECT_EQ(65536u, Resource(job.output, 102, 5).size());
    EXPECT_EQ(std::string("Gr\xFC\xDF" "e\r\n\x80 5\r\nline\r\nend\r\n", 23) + '\0', Resource(job.output, 102, 4));
}

TEST(Packer, ConvertsATitleOutsideTheAnsiCodePage)
{
    std::string work = WorkFolder();
    PackJob job;
    job.title = "Gezeiten f\xC3\xBCr K\xC3\xBCsten \xE2\x80\x93 \xE2\x82\xAC";  // UTF-8 on the command line
    job.arch = "x64";
    job.output = work + "\\setup.exe";
    ASSERT_TRUE(Packed(Pack(job)));
    EXPECT_EQ(std::string("Gezeiten f\xFCr K\xFCsten \x96 \x80") + '\0', Resource(job.output, 103, 2));
}

// ---- refusals ----

struct Refusal {
    const char* name;
    // Adjusts the job (and writes inputs into the work folder).
    std::function<void(PackJob&, const std::string& work)> prepare;
    std::vector<std::string> messages;  // each must appear on standard error
    DWORD exitCode;
};

void WriteInput(const std::string& path, const std::string& bytes)
{
    ASSERT_TRUE(ts::WriteFileBytes(path, bytes)) << path;
}

std::string SampleCabinet() { return ts::ReadFileBytes(Data("TideTables.cab")); }

std::vector<Refusal> Refusals()
{
    auto badText = [](bool license, const std::string& bytes) {
        return [license, bytes](PackJob& job, const std::string& work) {
            std::string path = work + (license ? "\\license.txt" : "\\description.txt");
            WriteInput(path, bytes);
            (license ? job.license : job.description) = path;
        };
    };
    auto badCab = [](const std::string& name, const std::string& bytes) {
        return [name, bytes](PackJob& job, const std::string& work) {
            WriteInput(work + "\\" + name, bytes);
            job.cabs = {work + "\\" + name};
        };
    };
    auto title = [](const std::string& text) { return [text](PackJob& job, const std::string&) { job.title = text; }; };
    std::string version12 = SampleCabinet();
    version12[24] = 2;
    std::string notACab = "This is a text file, not a cabinet at all; it is long enough for a header.";

    return {
        // The title.
        {"EmptyTitle", title(""), {"packer: the title is empty"}, 1},
        {"LongTitle", title(std::string(80, 'T')), {"is 80 characters long; at most 79 are allowed"}, 1},
        {"TitleWithBackslash", title("Tide\\Tables"), {"the title 'Tide\\Tables' holds a backslash at position 5"}, 1},
        {"TitleWithColon", title("Tide:Tables"),
         {"the title 'Tide:Tables' holds the character ':' at position 5, which a file name cannot hold"}, 1},
        {"TitleWithTab", title("Tide\tTables"), {"holds the control character U+0009 at position 5"}, 1},
        {"TitleWithLeadingBlank", title(" Tide Tables"), {"the title ' Tide Tables' begins with a blank"}, 1},
        {"TitleWithTrailingDot", title("Tide Tables."), {"ends with a blank or a dot"}, 1},
        {"TitleNamingADevice", title("COM1"), {"the title 'COM1' is a name that Windows reserves for a device"}, 1},
        {"TitleDots", title(".."), {"the title '..' is not a name a folder can have"}, 1},
        {"TitleOutsideCodePage1252", title("Tide \xE4\xB8\xAD"),
         {"holds the character U+4E2D at position 6, which code page 1252 cannot represent"}, 1},
        // The texts.
        {"DescriptionNotUtf8", badText(false, "Tides\nfor the c\xF4te"),
         {"description.txt: line 2, column 10: not valid UTF-8 (byte 0xF4)"}, 1},
        {"DescriptionOverlongUtf8", badText(false, "a\xC0\xAF"), {"line 1, column 2: not valid UTF-8 (byte 0xC0)"}, 1},
        {"DescriptionTruncatedUtf8", badText(false, "ab\xE2\x82"), {"line 1, column 3: not valid UTF-8 (byte 0xE2)"}, 1},
        {"DescriptionOutsideCodePage1252", badText(false, "line one\r\nab\xE4\xB8\xAD"),
         {"description.txt: line 2, column 3: the character U+4E2D cannot be represented in code page 1252"}, 1},
        {"LicenseWithEmoji", badText(true, "\n\n\xF0\x9F\x8C\x8A"),
         {"license.txt: line 3, column 1: the character U+1F30A cannot be represented"}, 1},
        {"LicenseWithNul", badText(true, std::string("abc\0def", 7)),
         {"license.txt: line 1, column 4: a NUL character cannot stand in a page text"}, 1},
        {"LicenseTooLong", badText(true, std::string(65534, 'a') + "\n"),
         {"license.txt: the text is longer than 65535 bytes once converted"}, 1},
        {"MissingDescription",
         [](PackJob& job, const std::string& work) { job.description = work + "\\nothing.txt"; },
         {"cannot read the description '", "nothing.txt'"}, 1},
        // The cabinets.
        {"CabinetNotACabinet", badCab("Notes.cab", notACab), {"Notes.cab: not a Microsoft Cabinet: it does not begin with \"MSCF\""}, 1},
        {"CabinetTooShort", badCab("Short.cab", "MSCF"), {"Short.cab: not a Microsoft Cabinet: the file is shorter"}, 1},
        {"CabinetVersion12", badCab("Old.cab", version12),
         {"Old.cab: the cabinet has format version 1.2; the Application Manager reads version 1.3"}, 1},
        {"CabinetSizeMismatch", badCab("Long.cab", SampleCabinet() + "x"),
         {"Long.cab: the cabinet's header gives its size as 3186 bytes, but the file has 3187"}, 1},
        {"CabinetNotNamedCab", badCab("TideTables.zip", SampleCabinet()),
         {"the cabinet name 'TideTables.zip' does not end in \".cab\""}, 1},
        {"CabinetNameWithComma", badCab("Tide,Tables.cab", SampleCabinet()),
         {"the cabinet name 'Tide,Tables.cab' holds a comma"}, 1},
        // Never written: the name itself would reach the device.
        {"CabinetNameOfADevice", [](PackJob& job, const std::string& work) { job.cabs = {work + "\\nul.cab"}; },
         {"the cabinet name 'nul.cab' is a name that Windows reserves for a device"}, 1},
        {"MissingCabinet", [](PackJob& job, const std::string& work) { job.cabs = {work + "\\Gone.cab"}; },
         {"cannot read the cabinet '", "Gone.cab'"}, 1},
        {"SameCabinetNameTwice",
         [](PackJob& job, const std::string& work) {
             ts::CreateFolders(work + "\\other");
             WriteInput(work + "\\other\\TIDETABLES.CAB", SampleCabinet());
             job.cabs.push_back(work + "\\other\\TIDETABLES.CAB");
         },
         {"two setup files would have the same name: 'TideTables.cab' and 'TIDETABLES.CAB'"}, 1},
        {"NameTooLongForTheInstallFolder",
         [](PackJob& job, const std::string& work) {
             job.title = std::string(79, 'T');
             std::string name = std::string(112, 'c') + ".cab";  // 64 + 79 + 1 + 116 = 260
             WriteInput(work + "\\" + name, SampleCabinet());
             job.cabs = {work + "\\" + name};
             job.component = "Tides";
         },
         {"is too long: in the install folder, with 64 characters kept for the Application Manager's folder and "
          "the title's 79, its path would have 260 characters; at most 259 fit"}, 1},
        {"ComponentWithBackslash", [](PackJob& job, const std::string&) { job.component = "Tide\\Tables"; },
         {"the component name 'Tide\\Tables' holds a backslash"}, 1},
        // The output.
        {"OutputFolderMissing",
         [](PackJob& job, const std::string& work) { job.output = work + "\\missing\\setup.exe"; },
         {"cannot write '", "\\missing\\setup.exe'"}, 1},
        {"OutputIsAFolder",
         [](PackJob& job, const std::string& work) {
             job.output = work + "\\setup.exe";
             ts::CreateFolders(job.output);
         },
         {"cannot write '", "\\setup.exe'"}, 1},
        // The stub override.
        {"StubOfTheOtherArchitecture",
         [](PackJob& job, const std::string&) {
             job.stub = ts::TestBin("packer_install_stub.exe");
             job.arch = "x86";
         },
         {"packer_install_stub.exe: not a Windows program for x86"}, 1},
        {"StubWithAPackage",
         [](PackJob& job, const std::string&) {
             job.stub = ts::ShippedBin("setup.exe");
             job.arch = "x64";
         },
         {"setup.exe: it carries a package already"}, 1},
        // The command line.
        {"UnknownOption", [](PackJob& job, const std::string&) { job.extra = "--colour blue"; },
         {"packer: unknown option '--colour'", "Run 'packer --help' for its usage."}, 2},
        {"UnknownArchitecture", [](PackJob& job, const std::string&) { job.arch = "arm"; },
         {"--arch takes x86 or x64, not 'arm'"}, 2},
        {"TitleTwice", [](PackJob& job, const std::string&) { job.extra = "--title Again"; },
         {"this option is given twice: '--title'"}, 2},
        {"NoCabinet", [](PackJob& job, const std::string&) { job.cabs.clear(); }, {"the option --cab is missing"}, 2},
    };
}

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

class PackerRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(PackerRefuses, WithItsMessageAndNoOutput)
{
    const Refusal& refusal = GetParam();
    std::string work = WorkFolder();
    std::string outputs = work + "\\out";
    ts::CreateFolders(outputs);
    PackJob job;
    job.output = outputs + "\\setup.exe";
    refusal.prepare(job, work);
    if (::testing::Test::HasFatalFailure())
        return;
    bool outputWasFolder = ts::FolderExists(job.output);
    std::vector<std::string> before = ts::FolderEntries(outputs);

    ts::OutputRun run = Pack(job);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(refusal.exitCode, run.exitCode);
    for (const std::string& message : refusal.messages)
        EXPECT_NE(std::string::npos, run.errors.find(message)) << "expected: " << message << "\ngot: " << run.errors;
    EXPECT_EQ("", run.output);
    EXPECT_FALSE(ts::FileExists(job.output)) << job.output;
    EXPECT_EQ(outputWasFolder, ts::FolderExists(job.output));
    EXPECT_EQ(before, ts::FolderEntries(outputs)) << "the packer left a file behind";
}

INSTANTIATE_TEST_SUITE_P(Inputs, PackerRefuses, ::testing::ValuesIn(Refusals()),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(Packer, LeavesAReadOnlyOutputAsItWas)
{
    std::string work = WorkFolder();
    PackJob job;
    job.output = work + "\\setup.exe";
    ASSERT_TRUE(ts::WriteFileBytes(job.output, "the old setup"));
    ASSERT_TRUE(SetFileAttributesA(job.output.c_str(), FILE_ATTRIBUTE_READONLY));
    ts::OutputRun run = Pack(job);
    SetFileAttributesA(job.output.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_NE(std::string::npos, run.errors.find("cannot replace the read-only file '" + job.output + "'")) << run.errors;
    EXPECT_EQ("the old setup", ts::ReadFileBytes(job.output));
    EXPECT_EQ(std::vector<std::string>{"setup.exe"}, ts::FolderEntries(work)) << "a temporary file was left";
}

}  // namespace
