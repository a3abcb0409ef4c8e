#include "device/windows/WindowsHidBackend.h"

#include <windows.h>

#include <setupapi.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace orlix::device {
namespace {

// The parts of hidsdi.h and hidpi.h that are used, declared here so that nothing links
// against the import libraries.
struct HidAttributes {
    ULONG size;
    USHORT vendorId;
    USHORT productId;
    USHORT versionNumber;
};
struct HidCaps {
    USHORT usage;
    USHORT usagePage;
    USHORT inputReportByteLength;
    USHORT outputReportByteLength;
    USHORT featureReportByteLength;
    USHORT reserved[17];
    USHORT numberLinkCollectionNodes;
    USHORT numberInputButtonCaps;
    USHORT numberInputValueCaps;
    USHORT numberInputDataIndices;
    USHORT numberOutputButtonCaps;
    USHORT numberOutputValueCaps;
    USHORT numberOutputDataIndices;
    USHORT numberFeatureButtonCaps;
    USHORT numberFeatureValueCaps;
    USHORT numberFeatureDataIndices;
};
using PreparsedData = void*;
constexpr LONG kHidpStatusSuccess = 0x00110000;

using HidD_GetHidGuidFn = void(WINAPI*)(GUID*);
using HidD_GetAttributesFn = BOOLEAN(WINAPI*)(HANDLE, HidAttributes*);
using HidD_GetPreparsedDataFn = BOOLEAN(WINAPI*)(HANDLE, PreparsedData*);
using HidD_FreePreparsedDataFn = BOOLEAN(WINAPI*)(PreparsedData);
using HidP_GetCapsFn = LONG(WINAPI*)(PreparsedData, HidCaps*);
using HidD_SetFeatureFn = BOOLEAN(WINAPI*)(HANDLE, PVOID, ULONG);
using HidD_GetFeatureFn = BOOLEAN(WINAPI*)(HANDLE, PVOID, ULONG);
using SetupDiGetClassDevsAFn = HDEVINFO(WINAPI*)(const GUID*, PCSTR, HWND, DWORD);
using SetupDiEnumDeviceInterfacesFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD,
                                                    PSP_DEVICE_INTERFACE_DATA);
using SetupDiGetDeviceInterfaceDetailAFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVICE_INTERFACE_DATA,
                                                         PSP_DEVICE_INTERFACE_DETAIL_DATA_A, DWORD,
                                                         PDWORD, PSP_DEVINFO_DATA);
using SetupDiDestroyDeviceInfoListFn = BOOL(WINAPI*)(HDEVINFO);

// GUID_DEVINTERFACE_HID, used when hid.dll cannot be asked for it.
constexpr GUID kHidInterfaceGuid = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr DWORD kPresentInterfaces = 0x12; // DIGCF_PRESENT | DIGCF_DEVICEINTERFACE

template <typename Fn> Fn resolve(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    // GetProcAddress hands back a generic function pointer; the cast names its real type.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

struct Libraries {
    HMODULE setupApi = nullptr;
    HMODULE hid = nullptr;
    SetupDiGetClassDevsAFn getClassDevs = nullptr;
    SetupDiEnumDeviceInterfacesFn enumInterfaces = nullptr;
    SetupDiGetDeviceInterfaceDetailAFn getDetail = nullptr;
    SetupDiDestroyDeviceInfoListFn destroyList = nullptr;
    HidD_GetHidGuidFn getHidGuid = nullptr;
    HidD_GetAttributesFn getAttributes = nullptr;
    HidD_GetPreparsedDataFn getPreparsed = nullptr;
    HidD_FreePreparsedDataFn freePreparsed = nullptr;
    HidP_GetCapsFn getCaps = nullptr;
    HidD_SetFeatureFn setFeature = nullptr;
    HidD_GetFeatureFn getFeature = nullptr;

    bool setupReady() const { return getClassDevs && enumInterfaces && getDetail && destroyList; }
    bool hidReady() const {
        return getHidGuid && getAttributes && getPreparsed && freePreparsed && getCaps &&
               setFeature && getFeature;
    }
};

const Libraries& libraries() {
    static const Libraries libs = [] {
        Libraries l;
        l.setupApi = LoadLibraryA("SetupApi.dll");
        if (l.setupApi != nullptr) l.hid = LoadLibraryA("HID.dll");
        l.getClassDevs = resolve<SetupDiGetClassDevsAFn>(l.setupApi, "SetupDiGetClassDevsA");
        l.enumInterfaces =
            resolve<SetupDiEnumDeviceInterfacesFn>(l.setupApi, "SetupDiEnumDeviceInterfaces");
        l.getDetail = resolve<SetupDiGetDeviceInterfaceDetailAFn>(
            l.setupApi, "SetupDiGetDeviceInterfaceDetailA");
        l.destroyList =
            resolve<SetupDiDestroyDeviceInfoListFn>(l.setupApi, "SetupDiDestroyDeviceInfoList");
        l.getHidGuid = resolve<HidD_GetHidGuidFn>(l.hid, "HidD_GetHidGuid");
        l.getAttributes = resolve<HidD_GetAttributesFn>(l.hid, "HidD_GetAttributes");
        l.getPreparsed = resolve<HidD_GetPreparsedDataFn>(l.hid, "HidD_GetPreparsedData");
        l.freePreparsed = resolve<HidD_FreePreparsedDataFn>(l.hid, "HidD_FreePreparsedData");
        l.getCaps = resolve<HidP_GetCapsFn>(l.hid, "HidP_GetCaps");
        l.setFeature = resolve<HidD_SetFeatureFn>(l.hid, "HidD_SetFeature");
        l.getFeature = resolve<HidD_GetFeatureFn>(l.hid, "HidD_GetFeature");
        return l;
    }();
    return libs;
}

HANDLE openWithoutAccess(const std::string& path) {
    return CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       0, nullptr);
}

// Visits the device path of every present HID interface, in the system's order.
void forEachInterfacePath(const std::function<void(const std::string&)>& visit) {
    const Libraries& l = libraries();
    if (!l.setupReady()) return;
    GUID guid = kHidInterfaceGuid;
    if (l.getHidGuid) l.getHidGuid(&guid);
    HDEVINFO set = l.getClassDevs(&guid, nullptr, nullptr, kPresentInterfaces);
    if (set == INVALID_HANDLE_VALUE) return;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA iface{};
        iface.cbSize = sizeof iface;
        if (!l.enumInterfaces(set, nullptr, &guid, index, &iface)) break;
        DWORD required = 0;
        if (l.getDetail(set, &iface, nullptr, 0, &required, nullptr) ||
            GetLastError() != ERROR_INSUFFICIENT_BUFFER || required == 0) {
            continue;
        }
        // DWORD-aligned storage one byte longer than asked, so the path always ends in 0.
        std::vector<DWORD> storage((required + sizeof(DWORD)) / sizeof(DWORD) + 1, 0);
        auto* detail = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        if (l.getDetail(set, &iface, detail, required, nullptr, nullptr)) {
            visit(std::string(detail->DevicePath));
        }
    }
    l.destroyList(set);
}

HANDLE toHandle(HidHandle h) {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(h));
}

} // namespace

bool WindowsHidBackend::setupApiLoaded() {
    return libraries().setupReady();
}
bool WindowsHidBackend::hidLoaded() {
    return libraries().hidReady();
}

int WindowsHidBackend::countInterfaces() {
    int count = 0;
    forEachInterfacePath([&](const std::string& path) {
        HANDLE h = openWithoutAccess(path);
        if (h == INVALID_HANDLE_VALUE) return;
        ++count;
        CloseHandle(h);
    });
    return count;
}

std::vector<HidInterfaceInfo> WindowsHidBackend::enumerate() {
    std::vector<HidInterfaceInfo> list;
    const Libraries& l = libraries();
    forEachInterfacePath([&](const std::string& path) {
        HANDLE h = openWithoutAccess(path);
        if (h == INVALID_HANDLE_VALUE) return;
        HidInterfaceInfo info;
        info.path = path;
        if (l.hidReady()) {
            HidAttributes attributes{};
            attributes.size = sizeof attributes;
            if (l.getAttributes(h, &attributes)) {
                info.vendorId = attributes.vendorId;
                info.productId = attributes.productId;
            }
            PreparsedData preparsed = nullptr;
            if (l.getPreparsed(h, &preparsed)) {
                HidCaps caps{};
                if (l.getCaps(preparsed, &caps) == kHidpStatusSuccess) {
                    info.featureReportLength = caps.featureReportByteLength;
                }
                l.freePreparsed(preparsed);
            }
        }
        CloseHandle(h);
        list.push_back(std::move(info));
    });
    return list;
}

HidHandle WindowsHidBackend::open(const std::string& path) {
    HANDLE h = openWithoutAccess(path);
    if (h == INVALID_HANDLE_VALUE || h == nullptr) return kNoHandle;
    return static_cast<HidHandle>(reinterpret_cast<std::uintptr_t>(h));
}

bool WindowsHidBackend::setFeature(HidHandle handle, std::span<const std::uint8_t> report) {
    const Libraries& l = libraries();
    if (handle == kNoHandle || !l.setFeature || report.empty()) return false;
    std::vector<std::uint8_t> buffer(report.begin(),
                                     report.end()); // the call takes a mutable buffer
    return l.setFeature(toHandle(handle), buffer.data(), static_cast<ULONG>(buffer.size())) != 0;
}

bool WindowsHidBackend::getFeature(HidHandle handle, std::span<std::uint8_t> report) {
    const Libraries& l = libraries();
    if (handle == kNoHandle || !l.getFeature || report.empty()) return false;
    return l.getFeature(toHandle(handle), report.data(), static_cast<ULONG>(report.size())) != 0;
}

void WindowsHidBackend::close(HidHandle handle) {
    if (handle != kNoHandle) CloseHandle(toHandle(handle));
}

std::unique_ptr<HidBackend> makeSystemHidBackend() {
    return std::make_unique<WindowsHidBackend>();
}

} // namespace orlix::device
