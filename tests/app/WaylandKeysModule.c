/* A GTK module for the Wayland end-to-end test, whose compositor has no keyboard: it types
 * into the program through GDK's own event queue, as a keyboard would. It prints "window
 * BACKEND STATE TITLE" on standard output once the main window (title "... - Corvane") is
 * mapped and whenever it is maximized or restored. The file named by CORVANE_TEST_KEYS, a
 * line such as "1 2 ctrl+s", is taken away and becomes key presses and releases, then "sent
 * LINE"; the word "close" asks the window to close, as its title bar's close button does.
 * Loaded with GTK_MODULES=/path/to/this.so. */
#include <gdk/gdkwayland.h>
#include <gtk/gtk.h>

#include <stdio.h>
#include <string.h>

static const char* s_pszKeysFile;
static GtkWindow* s_pMain;

static GtkWindow* FindMainWindow(void)
{
    GtkWindow* pFound = NULL;
    GList* pList = gtk_window_list_toplevels();
    for (GList* p = pList; p != NULL; p = p->next)
    {
        const char* pszTitle = gtk_window_get_title(p->data);
        if (pszTitle && g_str_has_suffix(pszTitle, " - Corvane") && gtk_widget_get_mapped(p->data))
            pFound = p->data;
    }
    g_list_free(pList);
    return pFound;
}

/* A key with the hardware code the keymap gives it; "ctrl+" holds Control. */
static void TypeKey(const char* pszToken)
{
    const gboolean bCtrl = g_str_has_prefix(pszToken, "ctrl+");
    const guint nKeyval = gdk_keyval_from_name(pszToken + (bCtrl ? 5 : 0));
    GdkWindow* pWindow = gtk_widget_get_window(GTK_WIDGET(s_pMain));
    GdkKeymapKey* pKeys = NULL;
    gint nKeys = 0;
    gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_window_get_display(pWindow)),
                                      nKeyval, &pKeys, &nKeys);
    for (GdkEventType type = GDK_KEY_PRESS; type <= GDK_KEY_RELEASE; type++)
    {
        GdkEvent* pEvent = gdk_event_new(type);
        pEvent->key.window = g_object_ref(pWindow);
        pEvent->key.time = GDK_CURRENT_TIME;
        pEvent->key.state = bCtrl ? GDK_CONTROL_MASK : 0;
        pEvent->key.keyval = nKeyval;
        pEvent->key.hardware_keycode = nKeys > 0 ? (guint16)pKeys[0].keycode : 0;
        pEvent->key.group = nKeys > 0 ? (guint8)pKeys[0].group : 0;
        gdk_display_put_event(gdk_window_get_display(pWindow), pEvent);
        gdk_event_free(pEvent);
    }
    g_free(pKeys);
}

/* Types the keys file's line, once, as soon as it is there. */
static void TypeKeysFile(void)
{
    gchar* pszLine = NULL;
    if (!g_file_get_contents(s_pszKeysFile, &pszLine, NULL, NULL))
        return;
    remove(s_pszKeysFile);
    gchar** ppTokens = g_strsplit(g_strchomp(pszLine), " ", -1);
    for (gchar** pp = ppTokens; *pp != NULL; pp++)
        if (strcmp(*pp, "close") == 0)
            gtk_window_close(s_pMain);
        else if (**pp != '\0')
            TypeKey(*pp);
    printf("sent %s\n", pszLine);
    g_strfreev(ppTokens);
    g_free(pszLine);
}

static gboolean OnPoll(gpointer pData)
{
    static int s_nMaximized = -1;
    (void)pData;
    s_pMain = s_pMain ? s_pMain : FindMainWindow();
    if (s_pMain == NULL)
        return G_SOURCE_CONTINUE;
    GdkWindow* pWindow = gtk_widget_get_window(GTK_WIDGET(s_pMain));
    const int nMaximized = (gdk_window_get_state(pWindow) & GDK_WINDOW_STATE_MAXIMIZED) != 0;
    if (nMaximized != s_nMaximized)
        printf("window %s %s %s\n",
               GDK_IS_WAYLAND_DISPLAY(gdk_window_get_display(pWindow)) ? "wayland" : "other",
               nMaximized ? "maximized" : "normal", gtk_window_get_title(s_pMain));
    s_nMaximized = nMaximized;
    TypeKeysFile();
    fflush(stdout);
    return G_SOURCE_CONTINUE;
}

G_MODULE_EXPORT void gtk_module_init(gint* pArgc, gchar*** pArgv)
{
    (void)pArgc, (void)pArgv;
    s_pszKeysFile = g_getenv("CORVANE_TEST_KEYS");
    if (s_pszKeysFile != NULL)
        g_timeout_add(100, OnPoll, NULL);
}
