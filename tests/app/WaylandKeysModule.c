/* A GTK module for the Wayland end-to-end test, whose compositor has no keyboard: it types
 * into the program through GDK's own event queue, as a keyboard would. It prints "window
 * BACKEND STATE TITLE" on standard output once the main window (title "... - Corvane") is
 * mapped and whenever it is maximized or restored. Every line appended to the file named by
 * CORVANE_TEST_KEYS ("1 2 ctrl+s") becomes key presses and releases, then "sent LINE"; the
 * word "close" asks the window to close, as its title bar's close button does.
 * Loaded with GTK_MODULES=/path/to/this.so. */
#include <gtk/gtk.h>

#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include <stdio.h>
#include <string.h>

static const char* s_pszKeysFile;
static GtkWindow* s_pMain;
static long s_nReadTo; /* bytes of the keys file already typed */

static const char* BackendName(GdkDisplay* pDisplay)
{
#ifdef GDK_WINDOWING_WAYLAND
    if (GDK_IS_WAYLAND_DISPLAY(pDisplay))
        return "wayland";
#endif
    (void)pDisplay;
    return "other";
}

static GtkWindow* FindMainWindow(void)
{
    GtkWindow* pFound = NULL;
    GList* pList = gtk_window_list_toplevels();
    for (GList* p = pList; p != NULL && pFound == NULL; p = p->next)
    {
        const char* pszTitle = gtk_window_get_title(GTK_WINDOW(p->data));
        if (pszTitle != NULL && g_str_has_suffix(pszTitle, " - Corvane") &&
            gtk_widget_get_mapped(GTK_WIDGET(p->data)))
            pFound = GTK_WINDOW(p->data);
    }
    g_list_free(pList);
    return pFound;
}

/* The text a keyboard's event carries: the character, or its control code under Ctrl. */
static gchar* KeyString(guint nKeyval, GdkModifierType state)
{
    const gunichar c = gdk_keyval_to_unicode(nKeyval);
    if (c == 0)
        return g_strdup("");
    if ((state & GDK_CONTROL_MASK) && g_ascii_isalpha((gchar)c))
        return g_strdup_printf("%c", g_ascii_toupper((gchar)c) - '@');
    gchar buf[8] = {0};
    g_unichar_to_utf8(c, buf);
    return g_strdup(buf);
}

static void PutKey(GdkEventType type, guint nKeyval, GdkModifierType state)
{
    GdkWindow* pWindow = gtk_widget_get_window(GTK_WIDGET(s_pMain));
    GdkDisplay* pDisplay = gdk_window_get_display(pWindow);
    GdkEvent* pEvent = gdk_event_new(type);
    pEvent->key.window = g_object_ref(pWindow);
    pEvent->key.time = GDK_CURRENT_TIME;
    pEvent->key.state = state;
    pEvent->key.keyval = nKeyval;
    pEvent->key.string = KeyString(nKeyval, state);
    pEvent->key.length = (gint)strlen(pEvent->key.string);
    pEvent->key.is_modifier = nKeyval == GDK_KEY_Control_L || nKeyval == GDK_KEY_Shift_L;
    GdkKeymapKey* pKeys = NULL;
    gint nKeys = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(pDisplay), nKeyval, &pKeys,
                                          &nKeys))
    {
        pEvent->key.hardware_keycode = (guint16)pKeys[0].keycode;
        pEvent->key.group = (guint8)pKeys[0].group;
        g_free(pKeys);
    }
    /* a compositor without a seat gives the program no keyboard device to name */
    GdkSeat* pSeat = gdk_display_get_default_seat(pDisplay);
    if (pSeat != NULL && gdk_seat_get_keyboard(pSeat) != NULL)
        gdk_event_set_device(pEvent, gdk_seat_get_keyboard(pSeat));
    gdk_display_put_event(pDisplay, pEvent);
    gdk_event_free(pEvent);
}

/* One key as a keyboard sends it: "ctrl+" and "shift+" hold those keys around it. */
static void TypeKey(const char* pszToken)
{
    static const struct
    {
        const char* m_pszPrefix;
        guint m_nKeyval;
        GdkModifierType m_mask;
    } kModifiers[] = {{"ctrl+", GDK_KEY_Control_L, GDK_CONTROL_MASK},
                      {"shift+", GDK_KEY_Shift_L, GDK_SHIFT_MASK}};
    GdkModifierType state = 0;
    for (size_t i = 0; i < G_N_ELEMENTS(kModifiers); i++)
    {
        if (!g_str_has_prefix(pszToken, kModifiers[i].m_pszPrefix))
            continue;
        PutKey(GDK_KEY_PRESS, kModifiers[i].m_nKeyval, state);
        state |= kModifiers[i].m_mask;
        pszToken += strlen(kModifiers[i].m_pszPrefix);
    }
    const guint nKeyval = gdk_keyval_from_name(pszToken);
    if (nKeyval == GDK_KEY_VoidSymbol)
        g_printerr("keys: no key named '%s'\n", pszToken);
    PutKey(GDK_KEY_PRESS, nKeyval, state);
    PutKey(GDK_KEY_RELEASE, nKeyval, state);
    for (size_t i = G_N_ELEMENTS(kModifiers); i-- > 0;)
    {
        if (!(state & kModifiers[i].m_mask))
            continue;
        state &= ~kModifiers[i].m_mask;
        PutKey(GDK_KEY_RELEASE, kModifiers[i].m_nKeyval, state | kModifiers[i].m_mask);
    }
}

/* Types the whole lines appended to the keys file since the last call. */
static void TypeNewLines(void)
{
    gchar* pszText = NULL;
    gsize nLength = 0;
    if (!g_file_get_contents(s_pszKeysFile, &pszText, &nLength, NULL))
        return;
    for (;;)
    {
        char* pszLine = pszText + s_nReadTo;
        char* pszEnd = strchr(pszLine, '\n');
        if (pszEnd == NULL)
            break;
        *pszEnd = '\0';
        s_nReadTo += pszEnd - pszLine + 1;
        gchar** ppTokens = g_strsplit_set(pszLine, " \t", -1);
        for (gchar** pp = ppTokens; *pp != NULL; pp++)
        {
            if (strcmp(*pp, "close") == 0)
                gtk_window_close(s_pMain);
            else if (**pp != '\0')
                TypeKey(*pp);
        }
        g_strfreev(ppTokens);
        printf("sent %s\n", pszLine);
        fflush(stdout);
    }
    g_free(pszText);
}

/* Reports the main window when it is first mapped and whenever it is maximized or restored. */
static void ReportWindow(void)
{
    static int s_nReported = -1;
    GdkWindow* pWindow = gtk_widget_get_window(GTK_WIDGET(s_pMain));
    const int nMaximized = (gdk_window_get_state(pWindow) & GDK_WINDOW_STATE_MAXIMIZED) != 0;
    if (nMaximized == s_nReported)
        return;
    s_nReported = nMaximized;
    printf("window %s %s %s\n", BackendName(gdk_window_get_display(pWindow)),
           nMaximized ? "maximized" : "normal", gtk_window_get_title(s_pMain));
    fflush(stdout);
}

static gboolean OnPoll(gpointer pData)
{
    (void)pData;
    if (s_pMain == NULL)
        s_pMain = FindMainWindow();
    if (s_pMain == NULL)
        return G_SOURCE_CONTINUE;
    ReportWindow();
    TypeNewLines();
    return G_SOURCE_CONTINUE;
}

G_MODULE_EXPORT void gtk_module_init(gint* pArgc, gchar*** pArgv)
{
    (void)pArgc, (void)pArgv;
    s_pszKeysFile = g_getenv("CORVANE_TEST_KEYS");
    if (s_pszKeysFile != NULL)
        g_timeout_add(100, OnPoll, NULL);
}
