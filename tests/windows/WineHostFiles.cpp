#include "WineHostFiles.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <fstream>
#include <vector>

namespace
{
std::string Narrow(const wchar_t* wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::vector<char> buffer(static_cast<size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, buffer.data(), size, nullptr, nullptr);
    return std::string(buffer.data());
}

std::string WindowsPath(std::string path)
{
    for (auto& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// Creates every folder on the way to the file; existing ones are fine.
void CreateParents(const std::string& filePath)
{
    for (size_t slash = filePath.find('\\', 3); slash != std::string::npos; slash = filePath.find('\\', slash + 1))
        CreateDirectoryA(filePath.substr(0, slash).c_str(), nullptr);
}
} // namespace

WineHostFiles::WineHostFiles(std::string folder) : hostFolder(std::move(folder)) {}

std::string WineHostFiles::DocumentsFolder()
{
    PWSTR path = nullptr;
    std::string result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &path)))
        result = Narrow(path);
    CoTaskMemFree(path);
    return result;
}

bool WineHostFiles::Write(const std::string& relativePath, const std::string& text) const
{
    const std::string documents = DocumentsFolder();
    if (documents.empty())
        return false;
    const std::string path = WindowsPath(documents + "/" + hostFolder + relativePath);
    CreateParents(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

bool WineHostFiles::WriteSettings(const std::string& xml) const
{
    return Write("Preferences/AdvancedOutput.xml", xml);
}

bool WineHostFiles::WritePreset(const std::string& name, const std::string& xml)
{
    presetWritten = name;
    return Write("Presets/Advanced Output/" + name + ".xml", xml);
}

void WineHostFiles::RemoveAll() const
{
    const std::string base = WindowsPath(DocumentsFolder() + "/" + hostFolder);
    DeleteFileA((base + "Preferences\\AdvancedOutput.xml").c_str());
    if (!presetWritten.empty())
        DeleteFileA((base + "Presets\\Advanced Output\\" + presetWritten + ".xml").c_str());
}

std::string WineHostFiles::ScreenSetupBody(const std::initializer_list<const char*>& screenNames)
{
    std::string xml = "<screens>";
    for (const char* name : screenNames)
    {
        xml += "<Screen name=\"";
        xml += name;
        xml += "\"><Params name=\"Params\"><Param name=\"Name\" T=\"STRING\" value=\"";
        xml += name;
        xml += "\"/><Param name=\"Enabled\" T=\"BOOL\" value=\"1\"/></Params><layers><Slice>"
               "<Params name=\"Common\"><Param name=\"Enabled\" T=\"BOOL\" value=\"1\"/></Params>"
               "<InputRect><v x=\"10\" y=\"10\"/><v x=\"90\" y=\"10\"/><v x=\"90\" y=\"90\"/>"
               "<v x=\"10\" y=\"90\"/></InputRect></Slice></layers></Screen>";
    }
    return xml + "</screens>";
}

std::string WineHostFiles::SettingsWithScreens(const std::initializer_list<const char*>& screenNames)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<XmlState name=\"AdvancedOutput\">" +
           ScreenSetupBody(screenNames) + "</XmlState>\n";
}

std::string WineHostFiles::SettingsNamingPreset(const std::string& presetName)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<XmlState name=\"AdvancedOutput\" presetFile=\"" + presetName +
           "\"/>\n";
}

std::string WineHostFiles::PresetWithScreens(const std::initializer_list<const char*>& screenNames)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<XmlState name=\"Preset\"><ScreenSetup name=\"ScreenSetup\">" +
           ScreenSetupBody(screenNames) + "</ScreenSetup></XmlState>\n";
}
