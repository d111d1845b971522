#include "tools/ppdcheck/report.h"

#include <cstdio>

#include "ppd/ppd.h"

namespace ppdcheck {

namespace {

class Lines {
public:
    // Appends `name value` items separated by blanks.
    Lines& Word(std::string_view word) {
        if (!line_.empty() && line_.back() != ' ')
            line_ += ' ';
        line_ += word;
        return *this;
    }
    Lines& Number(long long value) { return Word(std::to_string(value)); }
    Lines& Field(std::string_view name, long long value) { return Word(name).Number(value); }
    Lines& Field(std::string_view name, const ppd::Text& text) {
        return Word(name).Word(Quote(text.get()));
    }
    void End(std::string& out) {
        out += line_;
        out += '\n';
        line_.clear();
    }
    void Indent(std::string_view prefix) { line_ = prefix; }

private:
    std::string line_;
};

} // namespace

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c <= 0x7E && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    out += '"';
    return out;
}

std::string Quote(const char* text) {
    return text == nullptr ? "-" : Quote(std::string_view(text));
}

std::string Dump(const ppd::PpdDocument* doc) {
    std::string out = "document\n";
    Lines l;
    auto text = [&](const char* name, const ppd::Text& value) { l.Field(name, value).End(out); };
    auto number = [&](const char* name, long long value) { l.Field(name, value).End(out); };
    text("nickName", doc->nickName);
    number("protocols", doc->protocols);
    number("landscapeOrientation", doc->landscapeOrientation);
    number("ttRasterizer", doc->ttRasterizer);
    number("languageEncoding", doc->languageEncoding);
    number("freeVm", doc->freeVm);
    number("languageLevel", doc->languageLevel);
    text("password", doc->password);
    text("exitServer", doc->exitServer);
    number("suggestedJobTimeout", doc->suggestedJobTimeout);
    number("suggestedWaitTimeout", doc->suggestedWaitTimeout);
    number("colorDevice", doc->colorDevice);
    number("emailNotify", doc->emailNotify);
    number("printPsError", doc->printPsError);
    number("overlay", doc->overlay);
    number("jogDevice", doc->jogDevice);
    number("multiOverlay", doc->multiOverlay);
    number("nup", doc->nup);
    number("booklet", doc->booklet);
    number("miserDevice", doc->miserDevice);
    number("doesPrintQuality", doc->doesPrintQuality);
    number("reprint", doc->reprint);
    number("acceptsTrueType", doc->acceptsTrueType);
    number("trueImageDevice", doc->trueImageDevice);
    number("customPageSize", doc->customPageSize);
    number("hasHwMargins", doc->hasHwMargins);
    l.Word("hwMargins");
    for (ppd::Fixed margin : doc->hwMargins)
        l.Number(margin);
    l.End(out);
    text("customPageSizeInvocation", doc->customPageSizeInvocation);
    for (int i = 0; i < 5; ++i) {
        const ppd::PpdCustomSizeParam& p = doc->customSizeParams[i];
        l.Field("customSizeParam", i)
            .Field("order", p.order)
            .Field("type", p.type)
            .Field("min", p.minimum)
            .Field("max", p.maximum)
            .End(out);
    }
    number("maxMediaWidth", doc->maxMediaWidth);
    number("maxMediaHeight", doc->maxMediaHeight);
    number("extensions", doc->extensions);
    number("resolutionKind", doc->resolutionKind);
    number("screenAngle", doc->screenAngle);
    number("screenFreq", doc->screenFreq);
    text("jclBegin", doc->jclBegin);
    text("jclToPsInterpreter", doc->jclToPsInterpreter);
    text("jclEnd", doc->jclEnd);
    number("regularFeatureCount", doc->regularFeatureCount);
    number("installableFeatureCount", doc->installableFeatureCount);

    for (const ppd::PpdFeature* f = ppd::FirstFeature(doc); f != nullptr; f = f->next.get()) {
        l.Field("feature", f->index)
            .Word(Quote(f->name.get()))
            .Field("slot", f->slot)
            .Field("ui", f->uiType)
            .Field("installable", f->installable)
            .Field("group", f->groupIndex)
            .Field("flags", f->flags)
            .Field("default", f->defaultOption)
            .Field("translation", f->translation)
            .End(out);
        for (const ppd::PpdOption* o = f->options.get(); o != nullptr; o = o->next.get()) {
            l.Indent("  ");
            l.Field("option", o->index)
                .Word(Quote(o->name.get()))
                .Field("translation", o->translation)
                .Field("invocation", o->invocation);
            if (const ppd::PpdPageOption* p = o->AsPage()) {
                l.Field("region", p->regionInvocation)
                    .Word("paper")
                    .Number(p->paperWidth)
                    .Number(p->paperHeight)
                    .Word("area")
                    .Number(p->imageableLeft)
                    .Number(p->imageableBottom)
                    .Number(p->imageableRight)
                    .Number(p->imageableTop);
            } else if (const ppd::PpdSlotOption* s = o->AsSlot()) {
                l.Field("requiresPageRegion", s->requiresPageRegion);
            } else if (const ppd::PpdResolutionOption* r = o->AsResolution()) {
                l.Field("jcl", r->jclInvocation)
                    .Field("set", r->setInvocation)
                    .Field("screenAngle", r->screenAngle)
                    .Field("screenFreq", r->screenFreq);
            } else if (const ppd::PpdMemoryOption* m = o->AsMemory()) {
                l.Field("vmAmount", m->vmAmount);
            }
            l.End(out);
        }
    }
    if (const ppd::PpdTableHeader* table = doc->orderDependencies.get()) {
        const auto* base = reinterpret_cast<const unsigned char*>(table + 1);
        for (std::uint32_t k = 0; k < table->count; ++k) {
            const auto* e =
                reinterpret_cast<const ppd::PpdOrderDependency*>(base + k * table->entrySize);
            l.Field("orderDependency", k)
                .Field("feature", e->feature)
                .Field("option", e->option)
                .Field("order", e->order)
                .Field("section", e->section)
                .End(out);
        }
    }
    ppd::ConstraintCursor cursor;
    if (ppd::ConstraintTable(doc, &cursor)) {
        const auto* base = reinterpret_cast<const unsigned char*>(cursor.entries);
        const std::uint16_t size = doc->constraints->entrySize;
        for (std::uint32_t k = 0; k < cursor.count; ++k) {
            const auto* e = reinterpret_cast<const ppd::PpdConstraint*>(base + k * size);
            l.Field("constraint", k)
                .Number(e->feature1)
                .Number(e->option1)
                .Number(e->feature2)
                .Number(e->option2)
                .End(out);
        }
    }
    std::uint32_t k = 0;
    for (const ppd::PpdFontEntry* font = doc->fonts.get(); font != nullptr;
         font = font->next.get(), ++k) {
        l.Field("font", k)
            .Word(Quote(font->name.get()))
            .Field("translation", font->translation)
            .Field("encoding", font->encoding)
            .Field("charset", font->charset)
            .Field("id", font->fontId)
            .End(out);
    }
    return out;
}

std::string Constraints(const ppd::PpdDocument* doc, std::string_view feature,
                        std::string_view optionText) {
    std::string out;
    ppd::ConstraintIteration iteration;
    int counter = 0;
    for (;;) {
        const char* ruledOutFeature = nullptr;
        const char* ruledOutText = nullptr;
        if (!ppd::NextConstraint(doc, feature, optionText, &ruledOutFeature, &ruledOutText, counter,
                                 iteration))
            break;
        out += Quote(ruledOutFeature);
        out += ' ';
        out += Quote(ruledOutText);
        out += '\n';
    }
    return out;
}

} // namespace ppdcheck
