#ifndef zbFileElementExtension_H
#define zbFileElementExtension_H
// Services built on file-element trees: looking through a node at what it
// stands for (the directory or the file itself, or what a resolved link
// points to), and the tokenizer of the list files.

class zbFileElement;

class zbFileElementExtension
{
  public:
    zbFileElementExtension() = delete;

    // The element when it is a directory; its target when it is a resolved
    // link to an existing directory; else null.
    static zbFileElement* GetDirectory(zbFileElement& iElement);
    // The element when it exists and is neither a directory nor a link; its
    // target when it is a resolved link to an existing non-directory; else
    // null.
    static zbFileElement* GetFile(zbFileElement& iElement);

    // The next token of the first iLength bytes of ioText, from ioPosition:
    // null when ioPosition is negative or not below iLength.  A delimiter
    // (one of iDelimiters) ends the token: it is overwritten with a NUL
    // unless iKeepDelimiters, and ioPosition goes past it.  An empty token
    // is skipped unless iReturnEmpty.  A last token that runs to the end of
    // the text is returned with ioPosition at iLength.
    static char* Strtok(char* ioText, const int& iLength, const char* iDelimiters, int& ioPosition,
                        const int& iKeepDelimiters, const int& iReturnEmpty);
};

#endif
