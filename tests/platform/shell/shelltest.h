// A temporary tree for the namespace tests: HOME and the XDG folders point
// into it, the Computer folder reads a fixture mount table whose volumes
// lie in it, the drawn pictures stand for icon themes, and the memory back
// end records what would have been opened.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "platform/base/mainthread.h"
#include "platform/shell/shellfolders.h"
#include "tests/platform/base/temp_folder.h"

struct ListFree {
    void operator()(Byte* AList) const { win::SHFree(AList); }
};
using TList = std::unique_ptr<Byte, ListFree>;

class ShellTest : public TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path of the tree as UTF-8, and as a String.
    std::string At(const std::string& ARelative) const { return FFolder + "/" + ARelative; }
    String PathAt(const std::string& ARelative) const { return UTF8ToString(At(ARelative)); }
    static void MakeFile(const std::string& APath, const std::string& AContent = "12345");
    static void MakeFolder(const std::string& APath);

    static std::shared_ptr<win::IShellFolder> Desktop();
    // The desktop's list for an absolute path (nullptr when it fails).
    static TList Parse(const String& APath);
    static TList SpecialFolder(int ACsidl);
    // The folder of an absolute list.
    static std::shared_ptr<win::IShellFolder> Bind(win::PCItemIDList AList);
    static std::string NameOf(win::IShellFolder* AFolder, win::PCItemIDList AList,
                              win::DWORD AFlags = win::SHGDN_INFOLDER);
    // The display names of a folder's enumeration, in order.
    static std::vector<std::string> Names(win::IShellFolder* AFolder, win::DWORD AFlags);
    static std::vector<TList> Children(win::IShellFolder* AFolder, win::DWORD AFlags);
    // Runs the GUI thread's pending calls until ADone holds (at most 10 s).
    static bool RunCallsUntil(const std::function<bool()>& ADone) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!ADone() && std::chrono::steady_clock::now() < deadline) {
            if (!CheckSynchronize()) std::this_thread::yield();
        }
        return ADone();
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FSavedEnvironment;
};
