#pragma once
#include "framework/MessageBox.h"
#include <deque>
#include <string>
#include <vector>

namespace testing_support {

// Stands in for the message-box presenter while it lives: records every box and answers
// from `answers` (IDOK once they are used up).
class MessageBoxRecorder : public IMessageBoxPresenter {
public:
    MessageBoxRecorder() { m_previous = AfxSetMessageBoxPresenter(this); }
    ~MessageBoxRecorder() override { AfxSetMessageBoxPresenter(m_previous); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    int Show(HWND, const std::wstring& text, const std::wstring&, UINT type) override {
        texts.push_back(text);
        types.push_back(type);
        if (answers.empty()) return IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::wstring> texts;
    std::vector<UINT> types;
    std::deque<int> answers;

private:
    IMessageBoxPresenter* m_previous = nullptr;
};

}  // namespace testing_support
