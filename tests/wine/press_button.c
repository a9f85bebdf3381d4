/* Waits for a top-level window with a given caption, prints what it shows and presses
 * one of its buttons. Runs under the same Wine prefix as the program that opens the box.
 *
 *   press_button.exe [--timeout MS] CAPTION BUTTON
 *
 * BUTTON is a control id (1 = IDOK, 6 = IDYES, 7 = IDNO, ...), a name such as IDYES, or
 * the button's text without regard to case or '&' ("yes" presses "&Yes"). Button texts
 * follow the box's language, so tests that set a language press by id.
 *
 * Output on stdout, UTF-8, one item a line:
 *   window: Velmora
 *   text: Remove the card?\nThis cannot be undone.     (line breaks shown as \n)
 *   button 6: &Yes
 *   button 7: &No
 *   pressed 6: &Yes
 *
 * Exit status: 0 pressed and the window closed; 1 bad arguments; 2 no such window within
 * the timeout; 3 the window has no such button, or it is disabled; 4 the window was still
 * open when the timeout ran out after the press. Every wait ends by the timeout
 * (default 5000 ms), which bounds the wait for the window and the wait for it to close.
 */
/* shellapi.h needs the types of windows.h. */
#include <windows.h>

#include <shellapi.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

enum { EXIT_PRESSED = 0, EXIT_USAGE = 1, EXIT_NO_WINDOW = 2, EXIT_NO_BUTTON = 3, EXIT_STILL_OPEN = 4 };

/* Cross-process WM_GETTEXT must not hang on a program that stopped answering. */
enum { TEXT_TIMEOUT_MS = 2000, POLL_MS = 50, MAX_TEXT = 4096, MAX_BUTTONS = 16 };

struct Named {
    const wchar_t* name;
    int id;
};
static const struct Named button_ids[] = {
    {L"IDOK", IDOK},
    {L"IDCANCEL", IDCANCEL},
    {L"IDABORT", IDABORT},
    {L"IDRETRY", IDRETRY},
    {L"IDIGNORE", IDIGNORE},
    {L"IDYES", IDYES},
    {L"IDNO", IDNO},
    {L"IDCLOSE", IDCLOSE},
    {L"IDHELP", IDHELP},
    {L"IDTRYAGAIN", IDTRYAGAIN},
    {L"IDCONTINUE", IDCONTINUE},
};

struct Button {
    HWND hwnd;
    int id;
    wchar_t text[256];
};

struct Found {
    const wchar_t* caption;
    HWND hwnd;
};

struct Controls {
    struct Button buttons[MAX_BUTTONS];
    int button_count;
    wchar_t texts[4][MAX_TEXT];
    int text_count;
};

/* Writes a wide string as UTF-8; line breaks become the two characters \n so that each
 * item stays on one line. */
static void put_utf8(FILE* to, const wchar_t* s) {
    wchar_t flat[MAX_TEXT * 2];
    size_t n = 0;
    for (; *s && n + 2 < sizeof flat / sizeof flat[0]; s++) {
        if (*s == L'\r')
            continue;
        if (*s == L'\n') {
            flat[n++] = L'\\';
            flat[n++] = L'n';
        } else {
            flat[n++] = *s;
        }
    }
    flat[n] = 0;
    char out[MAX_TEXT * 6];
    int len = WideCharToMultiByte(CP_UTF8, 0, flat, -1, out, (int)sizeof out, NULL, NULL);
    fflush(to);
    if (len > 1)
        fwrite(out, 1, (size_t)len - 1, to);
}

static void get_text(HWND hwnd, wchar_t* buf, int size) {
    DWORD_PTR got = 0;
    buf[0] = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, (WPARAM)size, (LPARAM)buf, SMTO_ABORTIFHUNG, TEXT_TIMEOUT_MS,
                             &got))
        buf[0] = 0;
    buf[size - 1] = 0;
}

static BOOL CALLBACK find_window(HWND hwnd, LPARAM param) {
    struct Found* found = (struct Found*)param;
    wchar_t caption[512];
    if (!IsWindowVisible(hwnd))
        return TRUE;
    if (GetWindowTextW(hwnd, caption, (int)(sizeof caption / sizeof caption[0])) <= 0)
        return TRUE;
    if (wcscmp(caption, found->caption) != 0)
        return TRUE;
    found->hwnd = hwnd;
    return FALSE;
}

static BOOL CALLBACK list_window(HWND hwnd, LPARAM param) {
    wchar_t caption[512];
    (void)param;
    if (!IsWindowVisible(hwnd))
        return TRUE;
    if (GetWindowTextW(hwnd, caption, (int)(sizeof caption / sizeof caption[0])) <= 0)
        return TRUE;
    fputs("press_button:   \"", stderr);
    put_utf8(stderr, caption);
    fputs("\"\n", stderr);
    return TRUE;
}

static BOOL CALLBACK collect_control(HWND hwnd, LPARAM param) {
    struct Controls* controls = (struct Controls*)param;
    wchar_t cls[64];
    if (!GetClassNameW(hwnd, cls, (int)(sizeof cls / sizeof cls[0])))
        return TRUE;
    if (_wcsicmp(cls, L"Button") == 0 && controls->button_count < MAX_BUTTONS) {
        struct Button* b = &controls->buttons[controls->button_count++];
        b->hwnd = hwnd;
        b->id = GetDlgCtrlID(hwnd);
        get_text(hwnd, b->text, (int)(sizeof b->text / sizeof b->text[0]));
    } else if (_wcsicmp(cls, L"Static") == 0 && controls->text_count < 4) {
        /* The icon is a Static control too, without text. */
        wchar_t* t = controls->texts[controls->text_count];
        get_text(hwnd, t, MAX_TEXT);
        if (t[0])
            controls->text_count++;
    }
    return TRUE;
}

/* Compares a request with a button's text, without regard to case or '&'. */
static int same_label(const wchar_t* want, const wchar_t* text) {
    wchar_t a[256], b[256];
    size_t n = 0;
    for (; *want && n + 1 < 256; want++)
        if (*want != L'&')
            a[n++] = *want;
    a[n] = 0;
    n = 0;
    for (; *text && n + 1 < 256; text++)
        if (*text != L'&')
            b[n++] = *text;
    b[n] = 0;
    return a[0] && _wcsicmp(a, b) == 0;
}

/* Returns the id the request names (a number or an IDxxx name), or -1 for a text. */
static int requested_id(const wchar_t* want) {
    wchar_t* end = NULL;
    long v = wcstol(want, &end, 10);
    if (end != want && *end == 0 && v >= 0)
        return (int)v;
    for (size_t i = 0; i < sizeof button_ids / sizeof button_ids[0]; i++)
        if (_wcsicmp(want, button_ids[i].name) == 0)
            return button_ids[i].id;
    return -1;
}

static void usage(void) {
    fputs(
        "usage: press_button [--timeout MS] CAPTION BUTTON\n"
        "  BUTTON: control id (1 IDOK, 6 IDYES, 7 IDNO), IDxxx name, or button text\n",
        stderr);
}

int main(void) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    DWORD timeout_ms = 5000;
    int arg = 1;

    /* Plain \n line ends, as the test scripts read them. */
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (!argv) {
        fputs("press_button: cannot read the command line\n", stderr);
        return EXIT_USAGE;
    }
    if (argc > arg + 1 && wcscmp(argv[arg], L"--timeout") == 0) {
        wchar_t* end = NULL;
        unsigned long v = wcstoul(argv[arg + 1], &end, 10);
        if (end == argv[arg + 1] || *end != 0 || v == 0 || v > 600000) {
            fputs("press_button: --timeout wants milliseconds, 1 to 600000\n", stderr);
            return EXIT_USAGE;
        }
        timeout_ms = (DWORD)v;
        arg += 2;
    }
    if (argc - arg != 2) {
        usage();
        return EXIT_USAGE;
    }
    const wchar_t* caption = argv[arg];
    const wchar_t* want = argv[arg + 1];

    ULONGLONG deadline = GetTickCount64() + timeout_ms;
    struct Found found = {caption, NULL};
    for (;;) {
        EnumWindows(find_window, (LPARAM)&found);
        if (found.hwnd)
            break;
        if (GetTickCount64() >= deadline) {
            fputs("press_button: no visible window captioned \"", stderr);
            put_utf8(stderr, caption);
            fprintf(stderr, "\" appeared within %lu ms; visible captioned windows:\n",
                    (unsigned long)timeout_ms);
            EnumWindows(list_window, 0);
            return EXIT_NO_WINDOW;
        }
        Sleep(POLL_MS);
    }

    static struct Controls controls;
    EnumChildWindows(found.hwnd, collect_control, (LPARAM)&controls);

    fputs("window: ", stdout);
    put_utf8(stdout, caption);
    fputs("\n", stdout);
    for (int i = 0; i < controls.text_count; i++) {
        fputs("text: ", stdout);
        put_utf8(stdout, controls.texts[i]);
        fputs("\n", stdout);
    }
    for (int i = 0; i < controls.button_count; i++) {
        printf("button %d: ", controls.buttons[i].id);
        put_utf8(stdout, controls.buttons[i].text);
        fputs("\n", stdout);
    }
    fflush(stdout);

    int id = requested_id(want);
    const struct Button* press = NULL;
    for (int i = 0; i < controls.button_count && !press; i++) {
        const struct Button* b = &controls.buttons[i];
        if (id >= 0 ? b->id == id : same_label(want, b->text))
            press = b;
    }
    if (!press || !IsWindowEnabled(press->hwnd)) {
        fputs(press ? "press_button: the button \"" : "press_button: the window has no button \"", stderr);
        put_utf8(stderr, want);
        fputs(press ? "\" is disabled\n" : "\"\n", stderr);
        return EXIT_NO_BUTTON;
    }

    /* What a click on the button sends to its dialog; posting it cannot block on the
     * program, and needs no mouse or focus, which a headless display may not give. */
    PostMessageW(found.hwnd, WM_COMMAND, MAKEWPARAM(press->id, BN_CLICKED), (LPARAM)press->hwnd);
    printf("pressed %d: ", press->id);
    put_utf8(stdout, press->text);
    fputs("\n", stdout);
    fflush(stdout);

    /* A closing dialog is hidden first and destroyed later: waiting for that here keeps
     * the next press_button from finding this box again. */
    deadline = GetTickCount64() + timeout_ms;
    while (IsWindow(found.hwnd) && IsWindowVisible(found.hwnd)) {
        if (GetTickCount64() >= deadline) {
            fprintf(stderr, "press_button: the window was still open %lu ms after the press\n",
                    (unsigned long)timeout_ms);
            return EXIT_STILL_OPEN;
        }
        Sleep(POLL_MS);
    }
    LocalFree(argv);
    return EXIT_PRESSED;
}
