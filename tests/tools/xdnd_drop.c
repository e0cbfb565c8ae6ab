/* Drops files onto the window under a screen point the way a Linux file
 * manager does it, through the XDND protocol of X11. Wine turns such a drop
 * into WM_DROPFILES for a window that accepts files, so the end-to-end suites
 * drop files onto the program's windows with it.
 *
 *   xdnd_drop X Y UNIX-PATH...      exit 0 when the target took the drop
 *
 * DISPLAY names the X server. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/time.h>

static Display* dpy;
static Atom XdndAware, XdndEnter, XdndPosition, XdndStatus, XdndDrop, XdndFinished, XdndLeave, XdndSelection,
    XdndActionCopy, UriList;

static long Now(void) {
    struct timeval tv;
    gettimeofday(&tv, NULL);
    return tv.tv_sec * 1000 + tv.tv_usec / 1000;
}

/* The deepest window under the point that announces XDND support. */
static Window TargetAt(int x, int y) {
    Window root = DefaultRootWindow(dpy), window = root, child = 0, found = 0;
    int wx, wy;
    while (1) {
        Atom type;
        int format;
        unsigned long count, rest;
        unsigned char* data = NULL;
        if (XGetWindowProperty(dpy, window, XdndAware, 0, 1, False, AnyPropertyType, &type, &format, &count, &rest,
                               &data) == Success && data) {
            if (count > 0) found = window;
            XFree(data);
        }
        if (!XTranslateCoordinates(dpy, root, window, x, y, &wx, &wy, &child) || !child) break;
        window = child;
    }
    return found;
}

static void Send(Window target, Atom type, long l0, long l1, long l2, long l3, long l4) {
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = type;
    e.xclient.format = 32;
    e.xclient.data.l[0] = l0;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(dpy, target, False, NoEventMask, &e);
    XFlush(dpy);
}

/* Answers the target's request for the dropped data: the files as URIs. */
static void Serve(XSelectionRequestEvent* req, const char* uris) {
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = req->requestor;
    reply.xselection.selection = req->selection;
    reply.xselection.target = req->target;
    reply.xselection.time = req->time;
    reply.xselection.property = None;
    if (req->target == UriList || req->target == XA_STRING) {
        Atom property = req->property != None ? req->property : req->target;
        XChangeProperty(dpy, req->requestor, property, req->target, 8, PropModeReplace, (const unsigned char*)uris,
                        (int)strlen(uris));
        reply.xselection.property = property;
    }
    XSendEvent(dpy, req->requestor, False, NoEventMask, &reply);
    XFlush(dpy);
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: xdnd_drop X Y UNIX-PATH...\n");
        return 2;
    }
    dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "xdnd_drop: no display\n");
        return 2;
    }
    const int x = atoi(argv[1]), y = atoi(argv[2]);
    size_t size = 1;
    for (int i = 3; i < argc; ++i) size += 3 * strlen(argv[i]) + 10;
    char* uris = calloc(size, 1);
    char* out = uris;
    for (int i = 3; i < argc; ++i) {
        out += sprintf(out, "file://");
        /* Every byte but the unreserved ones and "/" is written %XX. */
        for (const unsigned char* p = (const unsigned char*)argv[i]; *p; ++p) {
            if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') ||
                strchr("-._~/", *p))
                *out++ = (char)*p;
            else
                out += sprintf(out, "%%%02X", *p);
        }
        out += sprintf(out, "\r\n");
    }
    XdndAware = XInternAtom(dpy, "XdndAware", False);
    XdndEnter = XInternAtom(dpy, "XdndEnter", False);
    XdndPosition = XInternAtom(dpy, "XdndPosition", False);
    XdndStatus = XInternAtom(dpy, "XdndStatus", False);
    XdndDrop = XInternAtom(dpy, "XdndDrop", False);
    XdndFinished = XInternAtom(dpy, "XdndFinished", False);
    XdndLeave = XInternAtom(dpy, "XdndLeave", False);
    XdndSelection = XInternAtom(dpy, "XdndSelection", False);
    XdndActionCopy = XInternAtom(dpy, "XdndActionCopy", False);
    UriList = XInternAtom(dpy, "text/uri-list", False);

    Window source = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), -10, -10, 1, 1, 0, 0, 0);
    XSetSelectionOwner(dpy, XdndSelection, source, CurrentTime);
    Window target = TargetAt(x, y);
    if (!target) {
        fprintf(stderr, "xdnd_drop: no drop target at %d,%d\n", x, y);
        return 1;
    }
    Send(target, XdndEnter, (long)source, 5L << 24, (long)UriList, 0, 0);
    Send(target, XdndPosition, (long)source, 0, ((long)x << 16) | y, CurrentTime, (long)XdndActionCopy);

    enum { Positioning, Dropped } state = Positioning;
    int accepted = 0, finished = 0;
    const long deadline = Now() + 5000;
    while (!finished && Now() < deadline) {
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            if (e.type == SelectionRequest) {
                Serve(&e.xselectionrequest, uris);
            } else if (e.type == ClientMessage && e.xclient.message_type == XdndStatus && state == Positioning) {
                accepted = (e.xclient.data.l[1] & 1) != 0;
                if (accepted) {
                    Send(target, XdndDrop, (long)source, 0, CurrentTime, 0, 0);
                    state = Dropped;
                } else {
                    Send(target, XdndLeave, (long)source, 0, 0, 0, 0);
                    finished = 1;
                }
            } else if (e.type == ClientMessage && e.xclient.message_type == XdndFinished) {
                finished = 1;
            }
        }
        struct timeval pause = {0, 10000};
        select(0, NULL, NULL, NULL, &pause);
    }
    XCloseDisplay(dpy);
    free(uris);
    if (!accepted) {
        fprintf(stderr, "xdnd_drop: the target refused the drop\n");
        return 1;
    }
    return finished ? 0 : 1;
}
