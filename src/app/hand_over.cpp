#include "app/hand_over.h"

#include "app/working_copy_lock.h"
#include "ui/copy_data.h"
#include "ui/main_window.h"

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace {

struct Request {
    std::string text;
    COPYDATASTRUCT record{};
    std::promise<LRESULT> answer;
};

}  // namespace

HWND find_working_copy(const std::string& className) {
    // Windows of the class that are still being made (a question open in their constructor) or
    // already gone carry no mark.
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className.c_str(), nullptr)) != nullptr;)
        if (GetPropA(window, readyForHandOver)) return window;
    return nullptr;
}

std::optional<LRESULT> hand_over(HWND window, std::uintptr_t code, const std::string& text) {
    // Shared with the worker, which may outlive this call when the user gives up.
    auto request = std::make_shared<Request>();
    request->text = text;
    request->record.dwData = code;
    request->record.cbData = static_cast<DWORD>(copy_data_size(request->text));
    request->record.lpData = request->record.cbData ? request->text.data() : nullptr;
    // Every request is answered with something other than 0, unless the window went first.
    const auto answered = [window](LRESULT result) -> std::optional<LRESULT> {
        if (result == 0 && !IsWindow(window)) return std::nullopt;
        return result;
    };
    // A window of this very thread (the working copy's own, as for "/f" after a pad) is called directly.
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        return answered(SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request->record)));
    std::future<LRESULT> answer = request->answer.get_future();
    std::thread([request, window] {
        request->answer.set_value(
            SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request->record)));
    }).detach();
    while (answer.wait_for(std::chrono::milliseconds(answerPatience)) != std::future_status::ready)
        if (!keepWaiting()) throw start_given_up();
    return answered(answer.get());
}
