// Drop targets: registration with OLE and the drag calls, driven through the interface
// that OLE itself calls.
#include "framework/OleDropTarget.h"
#include "framework/View.h"
#include "framework/Wnd.h"
#include "support/TestDataObject.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using testing_support::TestDataObject;

namespace {

const bool kOle = (testing_support::InstallOleEnvironment(), true);

// A hidden top-level window at a known place, so that screen points map to known client points.
struct Window {
    CWnd wnd;
    Window() { wnd.CreateEx(0, nullptr, L"drop", WS_POPUP, 100, 120, 200, 150, nullptr, 0); }
    POINTL Screen(int x, int y) const {
        POINT p{x, y};
        ::ClientToScreen(wnd.m_hWnd, &p);
        return POINTL{p.x, p.y};
    }
};

struct Call {
    std::string what;
    POINT point;
    bool hasText;
};

class RecordingTarget : public COleDropTarget {
public:
    DROPEFFECT answer = DROPEFFECT_COPY;
    BOOL dropResult = TRUE;
    std::vector<Call> calls;

    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD, POINT point) override {
        calls.push_back({"enter", point, data->IsDataAvailable(CF_UNICODETEXT) != FALSE});
        return answer;
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD, POINT point) override {
        calls.push_back({"over", point, data->IsDataAvailable(CF_UNICODETEXT) != FALSE});
        return answer;
    }
    void OnDragLeave(CWnd*) override { calls.push_back({"leave", {}, false}); }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, POINT point) override {
        calls.push_back({"drop", point, data->IsDataAvailable(CF_UNICODETEXT) != FALSE});
        lastDropEffect = effect;
        return dropResult;
    }
    std::string Names() const {
        std::string s;
        for (const Call& c : calls) s += (s.empty() ? "" : " ") + c.what;
        return s;
    }
    DROPEFFECT lastDropEffect = DROPEFFECT_NONE;
};

TestDataObject* TextData(const std::wstring& text) {
    auto* data = new TestDataObject;
    data->SetUnicodeText(text);
    return data;
}

}  // namespace

TEST(OleDropTarget, RegistersWithOleUntilRevokedOrDestroyed) {
    Window w;
    ASSERT_TRUE(w.wnd.m_hWnd);
    CWnd noWindow;
    COleDropTarget unregistered;
    EXPECT_FALSE(unregistered.Register(&noWindow));
    EXPECT_FALSE(unregistered.Register(nullptr));

    COleDropTarget other;
    {
        COleDropTarget target;
        ASSERT_TRUE(target.Register(&w.wnd));
        EXPECT_EQ(&w.wnd, target.GetWindow());
        EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, ::RegisterDragDrop(w.wnd.m_hWnd, other.GetInterface()));
        target.Revoke();
        EXPECT_EQ(nullptr, target.GetWindow());
        EXPECT_EQ(DRAGDROP_E_NOTREGISTERED, ::RevokeDragDrop(w.wnd.m_hWnd));

        ASSERT_TRUE(target.Register(&w.wnd));   // again, then left to the destructor
    }
    EXPECT_EQ(DRAGDROP_E_NOTREGISTERED, ::RevokeDragDrop(w.wnd.m_hWnd));

    // A target that outlives its window and the window's object lets go without touching them.
    COleDropTarget outliving;
    {
        Window gone;
        ASSERT_TRUE(outliving.Register(&gone.wnd));
    }
    outliving.Revoke();
    EXPECT_EQ(nullptr, outliving.GetWindow());
}

TEST(OleDropTarget, DragCallsArriveWithClientPointsAndTheDraggedData) {
    Window w;
    RecordingTarget target;
    ASSERT_TRUE(target.Register(&w.wnd));
    IDropTarget* ole = target.GetInterface();
    TestDataObject* data = TextData(L"曲名");

    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, ole->DragEnter(data, MK_LBUTTON, w.Screen(10, 20), &effect));
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, ole->DragOver(MK_LBUTTON, w.Screen(30, 40), &effect));
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    ASSERT_EQ(S_OK, ole->DragLeave());
    ASSERT_EQ("enter over leave", target.Names());
    EXPECT_EQ(10, target.calls[0].point.x);
    EXPECT_EQ(20, target.calls[0].point.y);
    EXPECT_EQ(30, target.calls[1].point.x);
    EXPECT_EQ(40, target.calls[1].point.y);
    EXPECT_TRUE(target.calls[0].hasText);
    EXPECT_TRUE(target.calls[1].hasText);
    // After the leave the target holds no reference to the data any more.
    EXPECT_EQ(1, data->RefCount());
    data->Release();
}

TEST(OleDropTarget, DropHappensOnlyWhereTheTargetTakesItAndReportsItsResult) {
    struct Case {
        const char* name;
        DROPEFFECT answer;      // what the target says over the drop point
        DWORD allowed;          // what the source offers
        BOOL dropResult;
        const char* calls;
        DWORD effect;           // reported to the source
    } cases[] = {
        {"taken", DROPEFFECT_COPY, DROPEFFECT_COPY | DROPEFFECT_MOVE, TRUE, "over drop", DROPEFFECT_COPY},
        {"handled but refused", DROPEFFECT_COPY, DROPEFFECT_COPY, FALSE, "over drop", DROPEFFECT_NONE},
        {"not over a target", DROPEFFECT_NONE, DROPEFFECT_COPY, TRUE, "over leave", DROPEFFECT_NONE},
        {"operation the source does not offer", DROPEFFECT_COPY, DROPEFFECT_MOVE, TRUE, "over leave", DROPEFFECT_NONE},
    };
    Window w;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingTarget target;
        ASSERT_TRUE(target.Register(&w.wnd));
        target.answer = c.answer;
        target.dropResult = c.dropResult;
        TestDataObject* data = TextData(L"x");
        DWORD effect = c.allowed;
        ASSERT_EQ(S_OK, target.GetInterface()->Drop(data, 0, w.Screen(5, 6), &effect));
        EXPECT_EQ(c.calls, target.Names());
        EXPECT_EQ(c.effect, effect);
        if (target.Names() == "over drop") {
            EXPECT_EQ(c.answer, target.lastDropEffect);
            EXPECT_EQ(5, target.calls[1].point.x);
            EXPECT_EQ(6, target.calls[1].point.y);
        }
        EXPECT_EQ(1, data->RefCount());
        data->Release();
    }
}

namespace {
class DropView : public CView {
public:
    std::vector<std::string> calls;
    DWORD OnDragEnter(COleDataObject* data, DWORD, POINT) override {
        calls.push_back("enter");
        return data->IsDataAvailable(CF_UNICODETEXT) ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    }
    DWORD OnDragOver(COleDataObject*, DWORD, POINT p) override {
        calls.push_back("over");
        return p.x < 50 ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    }
    void OnDragLeave() override { calls.push_back("leave"); }
    BOOL OnDrop(COleDataObject* data, DWORD effect, POINT) override {
        HGLOBAL h = data->GetGlobalData(CF_UNICODETEXT);
        if (h) {
            dropped = static_cast<const wchar_t*>(::GlobalLock(h));
            ::GlobalUnlock(h);
            ::GlobalFree(h);
        }
        calls.push_back("drop");
        return effect == DROPEFFECT_LINK;
    }
    std::wstring dropped;
};
}  // namespace

TEST(OleDropTarget, ViewsGetTheDragCallsAndOtherWindowsAcceptNothing) {
    Window parent;
    auto* view = new DropView;   // a view deletes itself when its window goes
    ASSERT_TRUE(view->Create(WS_CHILD, RECT{0, 0, 100, 100}, parent.wnd.m_hWnd, 1, nullptr));
    COleDropTarget viewTarget;
    ASSERT_TRUE(viewTarget.Register(view));

    TestDataObject* data = TextData(L"ジャンル");
    POINT origin{0, 0};
    ::ClientToScreen(view->m_hWnd, &origin);
    DWORD effect = DROPEFFECT_LINK | DROPEFFECT_COPY;
    viewTarget.GetInterface()->DragEnter(data, 0, POINTL{origin.x + 80, origin.y + 5}, &effect);
    EXPECT_EQ(DROPEFFECT_LINK, effect);
    effect = DROPEFFECT_LINK | DROPEFFECT_COPY;
    viewTarget.GetInterface()->DragOver(0, POINTL{origin.x + 80, origin.y + 5}, &effect);
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    effect = DROPEFFECT_LINK | DROPEFFECT_COPY;
    viewTarget.GetInterface()->Drop(data, 0, POINTL{origin.x + 10, origin.y + 5}, &effect);
    EXPECT_EQ(DROPEFFECT_LINK, effect);
    EXPECT_EQ((std::vector<std::string>{"enter", "over", "over", "drop"}), view->calls);
    EXPECT_EQ(L"ジャンル", view->dropped);

    COleDropTarget plainTarget;
    ASSERT_TRUE(plainTarget.Register(&parent.wnd));
    effect = DROPEFFECT_COPY;
    plainTarget.GetInterface()->DragEnter(data, 0, parent.Screen(1, 1), &effect);
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    effect = DROPEFFECT_COPY;
    plainTarget.GetInterface()->Drop(data, 0, parent.Screen(1, 1), &effect);
    EXPECT_EQ(DROPEFFECT_NONE, effect);
    data->Release();
    viewTarget.Revoke();
}

TEST(OleDataObject, GivesCopiesOfGlobalDataThatOutliveTheSource) {
    TestDataObject* source = TextData(L"アルバム");
    HGLOBAL copy = nullptr;
    {
        COleDataObject data;
        data.Attach(source, FALSE);
        EXPECT_TRUE(data.IsDataAvailable(CF_UNICODETEXT));
        EXPECT_FALSE(data.IsDataAvailable(CF_HDROP));
        EXPECT_EQ(nullptr, data.GetGlobalData(CF_HDROP));
        copy = data.GetGlobalData(CF_UNICODETEXT);
    }
    EXPECT_EQ(1, source->RefCount());   // attached without taking a reference
    source->Release();
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(L"アルバム", std::wstring(static_cast<const wchar_t*>(::GlobalLock(copy))));
    ::GlobalUnlock(copy);
    ::GlobalFree(copy);
}
