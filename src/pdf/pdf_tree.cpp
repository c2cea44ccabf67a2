#include "pdf/pdf_tree_internal.h"

#include <cstdint>
#include <utility>

#include "pdf/pdf_stream.h"

namespace pdf_internal {

// The private parts of the containers that the walks below need.
struct TTreeAccess {
  static const TPdfBytes& BodyToWrite(const TVPdfStream& stream, TPdfBytes& encoded) {
    return stream.BodyToWrite(encoded);
  }

  // Moves the containers that `obj` owns directly into `pending`.
  static void TakeNested(TVPdfObject& obj, std::vector<std::unique_ptr<TVPdfObject>>& pending) {
    if (auto* array = dynamic_cast<TVPdfArray*>(&obj)) {
      for (auto& item : array->FItems)
        if (item != nullptr && IsContainer(*item)) pending.push_back(std::move(item));
    } else if (auto* dict = dynamic_cast<TVPDFDictionary*>(&obj)) {
      for (auto& atom : dict->FAtoms)
        if (atom->FValue != nullptr && IsContainer(*atom->FValue)) pending.push_back(std::move(atom->FValue));
    } else if (auto* stream = dynamic_cast<TVPdfStream*>(&obj)) {
      if (stream->FDict != nullptr) pending.push_back(std::move(stream->FDict));
    }
  }
};

bool IsContainer(const TVPdfObject& obj) {
  return dynamic_cast<const TVPdfArray*>(&obj) != nullptr ||
         dynamic_cast<const TVPDFDictionary*>(&obj) != nullptr ||
         dynamic_cast<const TVPdfStream*>(&obj) != nullptr;
}

namespace {

enum class TFrameKind : std::uint8_t { Array, Dictionary, Stream };

// A container being written: its kind and the index of its next entry.
struct TFrame {
  const TVPdfObject* Object;
  TFrameKind Kind;
  // A stream whose body was encoded for writing; the body is the last of
  // the writer's encoded bodies.
  bool Encoded = false;
  int Next = 0;
};

class TTreeWriter {
 public:
  explicit TTreeWriter(TPdfBytes& out) : FOut(out) {}

  void Write(const TVPdfObject& root) {
    if (!OpenDirect(root)) return;
    while (!FStack.empty()) {
      const TVPdfObject* child = NextChild();
      if (child == nullptr) {
        Close();
        continue;
      }
      // A child written whole is followed at once by its separator; an
      // opened container gets it when it closes.
      if (!Open(*child)) EndEntry();
    }
  }

 private:
  // An entry as a container writes it (SaveToStream): a reference when
  // indirect, else its direct syntax. Returns true when a frame was opened.
  bool Open(const TVPdfObject& obj) {
    if (obj.IsIndirect()) {
      obj.SaveToStream(FOut);
      return false;
    }
    return OpenDirect(obj);
  }

  // Writes the start of a container and opens its frame (true), or writes
  // any other object whole (false).
  bool OpenDirect(const TVPdfObject& obj) {
    if (dynamic_cast<const TVPdfArray*>(&obj) != nullptr) {
      FOut.push_back('[');
      FStack.push_back({&obj, TFrameKind::Array});
      return true;
    }
    if (dynamic_cast<const TVPDFDictionary*>(&obj) != nullptr) {
      PdfWriteString("<<\r\n", FOut);
      FStack.push_back({&obj, TFrameKind::Dictionary});
      return true;
    }
    if (const auto* stream = dynamic_cast<const TVPdfStream*>(&obj)) {
      // The body is encoded, and "Length" set, before the dictionary is
      // written.
      TPdfBytes encoded;
      const bool isEncoded = &TTreeAccess::BodyToWrite(*stream, encoded) == &encoded;
      if (isEncoded) FBodies.push_back(std::move(encoded));
      FStack.push_back({&obj, TFrameKind::Stream, isEncoded});
      return true;
    }
    obj.WriteValue(FOut);
    return false;
  }

  // The next entry of the innermost open container, with the text that goes
  // before it (a dictionary's key) written; nullptr when it has no more.
  const TVPdfObject* NextChild() {
    TFrame& frame = FStack.back();
    switch (frame.Kind) {
      case TFrameKind::Array: {
        const auto& array = static_cast<const TVPdfArray&>(*frame.Object);
        return frame.Next < array.Count() ? array.RawItem(frame.Next++) : nullptr;
      }
      case TFrameKind::Dictionary: {
        const auto& dict = static_cast<const TVPDFDictionary&>(*frame.Object);
        while (frame.Next < dict.Count()) {
          const TVPDFDictionaryAtom& atom = dict.GetAtom(frame.Next++);
          if (atom.Hidden) continue;
          atom.Key().WriteValue(FOut);
          FOut.push_back(' ');
          return atom.Value();
        }
        return nullptr;
      }
      case TFrameKind::Stream:
        if (frame.Next++ > 0) return nullptr;
        return &static_cast<const TVPdfStream&>(*frame.Object).Dict();
    }
    return nullptr;  // Can't happen: every kind returns above.
  }

  // The separator that follows an entry of the innermost open container.
  void EndEntry() {
    switch (FStack.back().Kind) {
      case TFrameKind::Array: FOut.push_back(' '); break;
      case TFrameKind::Dictionary: PdfWriteString("\r\n", FOut); break;
      case TFrameKind::Stream: break;  // the body follows when it closes
    }
  }

  // Writes the end of the innermost open container and closes it.
  void Close() {
    const TFrame frame = FStack.back();
    FStack.pop_back();
    switch (frame.Kind) {
      case TFrameKind::Array: FOut.push_back(']'); break;
      case TFrameKind::Dictionary: PdfWriteString(">>", FOut); break;
      case TFrameKind::Stream: {
        PdfWriteString("\r\nstream\r\n", FOut);
        const TPdfBytes& body =
            frame.Encoded ? FBodies.back() : static_cast<const TVPdfStream&>(*frame.Object).Data();
        FOut.insert(FOut.end(), body.begin(), body.end());
        if (frame.Encoded) FBodies.pop_back();
        PdfWriteString("\nendstream", FOut);
        break;
      }
    }
    if (!FStack.empty()) EndEntry();
  }

  TPdfBytes& FOut;
  std::vector<TFrame> FStack;
  std::vector<TPdfBytes> FBodies;
};

}  // namespace

void WriteTree(const TVPdfObject& root, TPdfBytes& out) { TTreeWriter(out).Write(root); }

void FreeNested(TVPdfObject& obj) noexcept {
  std::vector<std::unique_ptr<TVPdfObject>> pending;
  TTreeAccess::TakeNested(obj, pending);
  while (!pending.empty()) {
    std::unique_ptr<TVPdfObject> next = std::move(pending.back());
    pending.pop_back();
    TTreeAccess::TakeNested(*next, pending);
    // `next` now owns no container: freeing it goes no deeper.
  }
}

}  // namespace pdf_internal
