#pragma once
// A top-level window built from a WindowDesign, implementing the Form operations with real
// controls. The window classes of the program derive from it and turn Windows messages into
// calls of their behaviour class; this class makes no decisions of its own.
#include <windows.h>

#include <functional>
#include <map>
#include <vector>

#include "platform/Design.h"
#include "platform/Form.h"
#include "platform/win32/ControlIds.h"
#include "platform/win32/Handles.h"

class DesignedWindow : public virtual Form {
public:
    explicit DesignedWindow(const WindowDesign& design);
    ~DesignedWindow() override;
    DesignedWindow(const DesignedWindow&) = delete;
    DesignedWindow& operator=(const DesignedWindow&) = delete;

    // Creates the window hidden, with every control in its design state.
    bool Create(PictureService& pictures);
    HWND hwnd() const { return hwnd_; }
    HWND Control(ControlId id) const { return controls_[static_cast<size_t>(id)].hwnd; }

    // Called when the window has been destroyed, whoever closed it.
    std::function<void()> onDestroyed;

    // Form
    std::string Caption() const override;
    void SetCaption(const std::string& text) override;
    void SetIcon(const PicturePtr& icon) override;
    PicturePtr Icon() const override { return icon_; }
    void SetBackColor(std::int32_t color) override;
    void SetHeight(int twips) override;
    void Show() override;
    void Hide() override;
    void Close() override;
    bool Closed() const override { return closed_; }
    std::intptr_t Handle() const override { return reinterpret_cast<std::intptr_t>(hwnd_); }
    std::string Text(ControlId id) const override;
    void SetText(ControlId id, const std::string& text) override;
    PicturePtr Picture(ControlId id) const override { return controls_[static_cast<size_t>(id)].picture; }
    void SetPicture(ControlId id, const PicturePtr& picture) override;
    std::int32_t BackColor(ControlId id) const override { return controls_[static_cast<size_t>(id)].backColor; }
    void SetBackColor(ControlId id, std::int32_t color) override;
    bool ControlVisible(ControlId id) const override;
    void SetVisible(ControlId id, bool visible) override;
    bool Enabled(ControlId id) const override;
    void SetEnabled(ControlId id, bool enabled) override;
    void SetAccessibleName(ControlId id, const std::string& name) override;

protected:
    // Events for the window classes. Control ids are tab indexes in the design.
    virtual void OnCommand(ControlId /*id*/, int /*code*/) {}
    virtual void OnMouseDown(ControlId /*id*/, int /*buttons*/, int /*x*/, int /*y*/) {}
    virtual void OnActivate() {}
    virtual void OnCloseRequest() { Close(); }  // the title bar's close button
    virtual LRESULT OnNotify(ControlId /*id*/, NMHDR* /*header*/) { return 0; }
    virtual void OnEscape() {}                   // the Escape key anywhere in the window
    virtual void OnContextMenuKey(ControlId /*id*/) {}  // Shift+F10 or the menu key on a control
    virtual void OnDpiChanged() {}               // after the controls were laid out at a new DPI
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

    // Twips in pixels of the window's layout.
    int Px(int twips) const { return TwipsToPixels(twips, dpi_); }

    // A virtual list view of the design (DesignedLists.cpp): its columns, sized again at every DPI,
    // its row count, and its one selected row (1-based, 0 for none).
    template <std::size_t N>
    void AddColumns(ControlId list, const ColumnDesign (&columns)[N]) { AddColumns(list, columns, N); }
    void AddColumns(ControlId list, const ColumnDesign* columns, std::size_t count);
    void SetListRowCount(ControlId list, int rows);
    int ListSelectedRow(ControlId list) const;
    void ListSelectRow(ControlId list, int row);
    virtual void OnListEnter(ControlId /*list*/) {}  // Enter on a list: what its double click does
    const WindowDesign& design_;

private:
    struct ControlState {
        HWND hwnd = nullptr;
        PicturePtr picture;
        std::int32_t backColor = 0;
        std::int32_t foreColor = 0;
        GdiBrush brush;
        // A command button draws its caption itself; its window text is what screen readers
        // read, the caption or, while that is empty, the accessible name.
        std::string caption;
        std::string accessibleName;
    };

    static constexpr wchar_t kFormClass[] = L"OrvelundForm";
    static constexpr wchar_t kPictureBoxClass[] = L"OrvelundPictureBox";

    // Window and message routing (DesignedWindow.cpp). No exception leaves a window procedure.
    static void RegisterClasses();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    static LRESULT CALLBACK PictureBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT OnPictureBoxMessage(HWND box, UINT msg, WPARAM wp, LPARAM lp);

    // Controls, fonts and tool tips (DesignedControls.cpp).
    void CreateControls(PictureService& pictures);
    HWND CreateControl(const ControlDesign& c, ControlId id);
    HFONT FontFor(const FontDesign& font);
    // The font that shows `text` in a control of this design font: the design's own, or its
    // TrueType twin where the design's face has no glyph for a character of the text.
    HFONT FontShowing(const FontDesign& font, const std::wstring& text);
    void FitFontToText(ControlId id);  // after the control's text changed
    void AddToolTip(HWND control, const std::string& text);
    ControlId IdOf(HWND control) const;
    // A command button's or picture box's window text: what screen readers read for it.
    std::string WindowText(ControlId id) const;
    void UpdateWindowText(ControlId id);

    // DPI, fitting and placement (DesignedPlacement.cpp).
    static int SystemDpi();
    void PlaceAtStart();                              // sized and placed on its monitor, hidden
    RECT ControlRect(const ControlDesign& c) const;  // pixels at the window's DPI
    SIZE OuterSize() const;                           // the window's size for its client area in twips
    void FitToClientArea(const POINT* at);            // sizes the window (and moves it to `at`)
    void ChangeDpi(int dpi, const RECT* suggested);
    // Fitting onto the screen: the work area of the window's monitor (or of the monitor holding
    // `r`); sizing the window at the layout DPI at which it fits into it (and moving it to `at`);
    // laying every control out again at a new layout DPI; placing the window in the work area.
    PixelRect WorkArea(const RECT* r = nullptr) const;
    void SizeToFit(const PixelRect& work, const POINT* at);
    void LayOut(int layoutDpi);
    void Place(const PixelRect& work);
    void KeepInside(const PixelRect& work);
    void Refit(bool keepInside);

    // Painting (DesignedPainting.cpp). Focus frames (the program shows no access keys) are hidden
    // until the keyboard is used.
    void InitKeyboardCues();
    WORD HiddenCues(HWND control) const;  // UISF_HIDEFOCUS, UISF_HIDEACCEL
    LRESULT OnKeyboardCues(UINT msg, WPARAM wp, LPARAM lp);  // WM_CHANGEUISTATE, WM_UPDATEUISTATE
    void DrawButton(const DRAWITEMSTRUCT& d);
    void PaintPictureBox(HWND box);
    HBRUSH BrushFor(ControlState& c);
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    void EraseBackground(HDC dc);

    HWND hwnd_ = nullptr;
    HWND toolTip_ = nullptr;
    // The DPI the controls, fonts and pictures are laid out at: the monitor's, or less where the
    // window would not fit on the screen at the monitor's.
    int dpi_ = 96;
    int monitorDpi_ = 96;          // the DPI of the monitor the window is on; its frame is drawn at it
    int systemDpi_ = 96;           // the DPI the system's own metrics (the message font) are given at
    bool shown_ = false;           // shown once: from then on the user decides where it stands
    bool systemKeepsCues_ = false; // the system keeps the keyboard-cue state (Windows; not Wine)
    WORD hiddenCues_ = 0;          // else the window's own: UISF_HIDEFOCUS, UISF_HIDEACCEL
    int clientHeightTwips_ = 0;    // the design's, until SetHeight changes it
    bool closed_ = false;
    PicturePtr icon_;
    std::int32_t backColor_ = kWindowBackground;
    GdiBrush backBrush_;
    std::vector<ControlState> controls_;
    std::map<std::string, GdiFont> fonts_;
    struct ListColumns {
        ControlId list;
        const ColumnDesign* columns;
        std::size_t count;
    };
    std::vector<ListColumns> listColumns_;  // sized again when the DPI changes
    void SizeColumns();
};

// A colour of the design (a real colour or a system colour) as a COLORREF.
COLORREF ColorRef(std::int32_t color);
