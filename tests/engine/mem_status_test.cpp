#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "engine/mem.h"
#include "toolkit/commandline.h"
#include "tests/support/readonly_key.h"
#include "toolkit/errors.h"
#include "toolkit/modulepath.h"

namespace {

constexpr wchar_t kMachineRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void DeleteMachineValue()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMachineRun, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"Tarvesk");
        RegCloseKey(key);
    }
}

std::wstring MachineValue()
{
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kMachineRun, L"Tarvesk", RRF_RT_REG_SZ, nullptr, buffer, &size)
        != ERROR_SUCCESS)
        return L"(missing)";
    return buffer;
}

} // namespace

TEST(MemStatus, ReadingsComeFromTheReplaceableSource)
{
    TMem mem;
    int reads = 0;
    mem.StatusSource = [&] {
        ++reads;
        TMemoryStatus s;
        s.TotalPhys = 256'000'000;
        s.AvailPhys = 134'217'728;
        s.TotalPageFile = 4'294'967'296;
        s.AvailPageFile = 999'999'999;
        s.TotalVirtual = 2'147'352'576;
        s.AvailVirtual = 1'000'000;
        return s;
    };
    MemoryReadings r;
    mem.GetStatus(r);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(mem.Status().TotalPhys, 256'000'000u);
    EXPECT_EQ(r.TotalPhys, 244);
    EXPECT_EQ(r.AvailPhys, 127);
    EXPECT_EQ(r.TotalPageFile, 3);
    EXPECT_EQ(r.AvailPageFile, 953);
    EXPECT_EQ(r.TotalVirtual, 1);
    EXPECT_EQ(r.AvailVirtual, 0);
}

TEST(MemStatus, TheDefaultSourceReadsFullSixtyFourBitFigures)
{
    TMem mem;
    const TMemoryStatus& s = mem.ReadStatus();
    MEMORYSTATUSEX ms{};
    ms.dwLength = sizeof ms;
    ASSERT_TRUE(GlobalMemoryStatusEx(&ms));
    EXPECT_EQ(s.TotalPhys, ms.ullTotalPhys); // beyond 4 GiB on the build machine, even in 32 bits
    EXPECT_GT(s.AvailPhys, 0u);
    EXPECT_LE(s.AvailPhys, s.TotalPhys);
    EXPECT_GT(s.TotalVirtual, 0u);
}

// Windows divides memory through the memory lists or the counters; Wine has
// neither, and the reading falls through both to none. The second reading
// goes through what the first remembered.
TEST(MemStatus, TheDivisionIsReadWithoutRightsOrSaidToBeMissing)
{
    TMem mem;
    const TMemoryStatus& s = mem.ReadStatus();
    for (int reading = 0; reading < 2; ++reading) {
        const TMemoryDivision& d = mem.ReadDivision();
        EXPECT_EQ(d.TotalBytes, s.TotalPhys);
        EXPECT_EQ(d.InUseBytes + d.ModifiedBytes + d.StandbyBytes + d.FreeBytes,
                  d.Divided() ? d.TotalBytes : d.TotalBytes - d.AvailableBytes);
    }
}

TEST(MemStatus, OnTheNtFamilyThereIsNoCpuFigure)
{
    TMem mem;
    EXPECT_TRUE(mem.IsWindowsNT());
    EXPECT_EQ(mem.GetCpuUsage(), 0);
}

TEST(MemStatus, CpuUsageIsReadFromTheStatisticsWhereTheyExist)
{
    // Wine lets the statistics key be created, so the 9x reading can run.
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_DYN_DATA, L"PerfStats\\StatData", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        GTEST_SKIP() << "no dynamic statistics key here";
    const std::uint8_t percent[4] = {0x2A, 0x01, 0, 0};
    RegSetValueExW(key, L"KERNEL\\CPUUsage", 0, REG_BINARY, percent, 4);
    TMem mem;
    EXPECT_EQ(mem.GetCpuUsage(), 0x012A); // little-endian

    const std::uint8_t five[5] = {};
    RegSetValueExW(key, L"KERNEL\\CPUUsage", 0, REG_BINARY, five, 5);
    try {
        mem.GetCpuUsage();
        ADD_FAILURE() << "five bytes accepted";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for 'KERNEL\\CPUUsage'");
    }
    const DWORD number = 5;
    RegSetValueExW(key, L"KERNEL\\CPUUsage", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    EXPECT_THROW(mem.GetCpuUsage(), ERegistryException);

    RegDeleteValueW(key, L"KERNEL\\CPUUsage");
    EXPECT_EQ(mem.GetCpuUsage(), 0);
    RegCloseKey(key);
}

class MachineAutorun : public testing::Test {
protected:
    void SetUp() override { DeleteMachineValue(); }
    void TearDown() override { DeleteMachineValue(); }
};

TEST_F(MachineAutorun, WritesThisProgramsPathAndRemovesIt)
{
    TMem mem;
    EXPECT_FALSE(mem.MachineAutorunRegistered());
    mem.SetMachineAutorun(true);
    EXPECT_EQ(MachineValue(), CommandForPath(ExecutablePath()));
    EXPECT_TRUE(mem.MachineAutorunRegistered());
    mem.SetMachineAutorun(false);
    EXPECT_EQ(MachineValue(), L"(missing)");
    EXPECT_FALSE(mem.MachineAutorunRegistered());
    mem.SetMachineAutorun(false); // nothing to delete is not an error
}

TEST_F(MachineAutorun, TheProbeNeedsOnlyReadAccess)
{
    TMem mem;
    mem.SetMachineAutorun(true);
    TReadOnlyKey guard(HKEY_LOCAL_MACHINE, kMachineRun);
    ASSERT_TRUE(guard.Applied());
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMachineRun, 0, KEY_WRITE, &key), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(mem.MachineAutorunRegistered());
    EXPECT_THROW(mem.SetMachineAutorun(false), EOSError);
}

TEST_F(MachineAutorun, EmptyOrWronglyTypedEntries)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kMachineRun, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"Tarvesk", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    TMem mem;
    EXPECT_FALSE(mem.MachineAutorunRegistered());

    const DWORD number = 1;
    RegSetValueExW(key, L"Tarvesk", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    try {
        mem.MachineAutorunRegistered();
        ADD_FAILURE() << "integer accepted";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for 'Tarvesk'");
    }
    RegCloseKey(key);
}
