// The 64 one-byte option switches and the defaults of their companion
// settings. Every reader tests its byte in the block directly.
#ifndef ZORIVEN_OPTBLOCK_H
#define ZORIVEN_OPTBLOCK_H

enum { kOptionCount = 64 };

// Byte indices into the block. Bytes 2 and 12-63 are reserved: they are
// loaded and saved with the rest so that stored values survive.
enum OptionByte {
    ExcludeExt = 0,
    ExcludeHidden = 1,
    BrowserNew = 3,
    BackAfterCopy = 4,
    NotifyUrlOnly = 5,
    FrontAfterDrop = 6,
    MenuForSingle = 7,
    DropAction = 8,
    InsertAfterDrop = 9,
    NoOrderFile = 10,
    AutoTitle = 11,
};

// Values of the DropAction byte; any other value makes a drop onto an
// item row do nothing.
enum DropActionValue { DropNew = 0, DropAppend = 1, DropAsk = 2 };

#define DEFAULT_EXCLUDED_EXT "exe;dll;com;pif;bak"
#define DEFAULT_EDITOR "Notepad.exe"

#endif
