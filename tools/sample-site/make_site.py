#!/usr/bin/env python3
"""Writes the demo news site's menu, feeds and article pages from stories.py.

    python3 tools/sample-site/make_site.py [SITE-FOLDER]   (default: sample-site/)

Pictures come from tools/sample-images and must already be in SITE-FOLDER/images. Every address
is written with the {{SITE}} placeholder, which the demo server replaces with its own address.
The hand-written tools page (mobi/tools.php) is left alone.
"""

import datetime
import html
import pathlib
import re
import shutil
import sys
import unicodedata
from xml.sax.saxutils import escape, quoteattr

from stories import CATEGORIES

SITE = "{{SITE}}"
FIRST_ID = 1201
FEED_LENGTH = 15
HOME_LENGTH = 20
# The newest story; the others go back by the steps below in turn, one category after the
# other, so that every feed spans the last three weeks of the year.
NEWEST = datetime.datetime(2011, 12, 31, 23, 0)
STEPS = [datetime.timedelta(minutes=m) for m in (215, 310, 175, 345, 260, 400, 205, 275, 110)]

WEEKDAYS = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
THU = ["Thứ hai", "Thứ ba", "Thứ tư", "Thứ năm", "Thứ sáu", "Thứ bảy", "Chủ nhật"]


def slugify(text, limit=80):
    text = text.replace("đ", "d").replace("Đ", "D")
    text = unicodedata.normalize("NFD", text)
    text = "".join(c for c in text if unicodedata.category(c) != "Mn").lower()
    slug = re.sub(r"[^a-z0-9]+", "-", text).strip("-")
    if len(slug) > limit:
        slug = slug[:limit].rsplit("-", 1)[0]
    return slug


def rss_date(when):
    """The feed's date form, the zone always written as EST."""
    return "%s, %02d %s %d %02d:%02d:%02d EST" % (
        WEEKDAYS[when.weekday()], when.day, MONTHS[when.month - 1], when.year,
        when.hour, when.minute, when.second)


def page_date(when):
    return "%s, %02d/%02d/%d %02d:%02d (GMT-5)" % (
        THU[when.weekday()], when.day, when.month, when.year, when.hour, when.minute)


class Story:
    def __init__(self, number, category, text, images):
        self.id = FIRST_ID + number
        self.category = category
        self.text = text
        self.scene = category.scenes[number % len(category.scenes)]
        self.path = "%s/%d/%02d/%s-%d.html"  # filled in once the date is known
        self.thumbnail = images.thumbnail(self.scene) if number % 7 != 3 else None
        self.picture_in_summary = number % 5 != 2
        self.cdata = number % 2 == 0
        self.picture = images.picture(self.scene)
        self.when = None

    def place(self, when):
        self.when = when
        self.path = "%s/%d/%02d/%s-%d.html" % (
            self.category.slug, when.year, when.month, slugify(self.text.title), self.id)

    @property
    def link(self):
        return "%s/%s" % (SITE, self.path)


class Images:
    """Finds the generated pictures, whatever their format."""

    def __init__(self, root):
        self.root = root

    def _find(self, folder, scene):
        found = sorted((self.root / "images" / folder).glob(scene + ".*"))
        if not found:
            sys.exit("missing picture images/%s/%s.* - run tools/sample-images first" % (folder, scene))
        return "%s/images/%s/%s" % (SITE, folder, found[0].name)

    def thumbnail(self, scene):
        return self._find("thumbs", scene)

    def picture(self, scene):
        return self._find("pictures", scene)


def build_stories(images):
    by_category = {}
    number = 0
    for category in CATEGORIES:
        by_category[category.slug] = []
        for text in category.stories:
            by_category[category.slug].append(Story(number, category, text, images))
            number += 1
    # Dates: newest first, taking one story of each category in turn.
    order = []
    depth = max(len(stories) for stories in by_category.values())
    for i in range(depth):
        for category in CATEGORIES:
            stories = by_category[category.slug]
            if i < len(stories):
                order.append(stories[i])
    when = NEWEST
    for k, story in enumerate(order):
        story.place(when)
        when -= STEPS[k % len(STEPS)]
    return by_category, order


def description(story):
    text = story.text.summary
    if story.picture_in_summary:
        text = '<img src="%s" />%s' % (story.picture, text)
    if story.cdata:
        return "<![CDATA[%s]]>" % text
    return escape(text, {'"': "&quot;"})


def item(story):
    parts = [
        "<title>%s</title>" % escape(story.text.title),
        "<link>%s</link>" % escape(story.link),
        "<description>%s</description>" % description(story),
        "<pubDate>%s</pubDate>" % rss_date(story.when),
        '<guid isPermaLink="true">%s</guid>' % escape(story.link),
    ]
    if story.thumbnail:
        parts.append('<media:thumbnail url=%s width="140" height="105" />' % quoteattr(story.thumbnail))
    # One line per story: the reader keeps white space that follows a closing tag.
    return "<item>%s</item>" % "".join(parts)


def feed(title, summary, stories):
    stories = sorted(stories, key=lambda s: s.when, reverse=True)
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<rss version="2.0" xmlns:media="http://search.yahoo.com/mrss/">',
        "<channel>",
        "<title>%s</title>" % escape(title),
        "<link>%s/</link>" % SITE,
        "<description>%s</description>" % escape(summary),
        "<language>vi</language>",
        "<lastBuildDate>%s</lastBuildDate>" % rss_date(stories[0].when),
    ]
    lines += [item(s) for s in stories]
    lines += ["</channel>", "</rss>", ""]
    return "\n".join(lines)


def sub_feed_stories(category, sub, stories):
    own = [s for s in stories if s.text.sub == sub]
    others = sorted((s for s in stories if s.text.sub != sub), key=lambda s: s.when, reverse=True)
    return own + others[:max(0, FEED_LENGTH - len(own))]


def menu():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<services>"]
    for category in CATEGORIES:
        lines.append("  <service name=%s link=%s>" % (
            quoteattr(category.name), quoteattr("%s/rss/%s.rss" % (SITE, category.slug))))
        for slug, name in category.subs:
            lines.append("    <subService name=%s link=%s />" % (
                quoteattr(name), quoteattr("%s/rss/%s/%s.rss" % (SITE, category.slug, slug))))
        lines.append("  </service>")
    lines += ["</services>", ""]
    return "\n".join(lines)


ARTICLE = """<!DOCTYPE html>
<html lang="vi">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ margin: 0; font-family: "Liberation Serif", "Times New Roman", serif; color: #564a4b; background: #fff; }}
header {{ background: #993333; color: #fff; padding: 8px 12px; font: bold 15px "Liberation Sans", sans-serif; }}
header span {{ font-weight: normal; opacity: 0.85; }}
article {{ padding: 12px; max-width: 640px; margin: auto; }}
h1 {{ font-size: 24px; line-height: 1.25; margin: 4px 0 6px; }}
.date {{ color: #9b928d; font: bold 12px "Liberation Sans", sans-serif; margin: 0 0 12px; }}
figure {{ margin: 0 0 12px; }}
figure img {{ width: 100%; height: auto; display: block; }}
figcaption {{ font-size: 13px; color: #777; font-style: italic; margin-top: 4px; }}
p {{ font-size: 17px; line-height: 1.5; margin: 0 0 12px; }}
.lead {{ font-weight: bold; }}
.author {{ text-align: right; font-weight: bold; }}
.related {{ border-top: 1px solid #bfb6ae; margin-top: 18px; padding-top: 8px; }}
.related h2 {{ font: bold 15px "Liberation Sans", sans-serif; color: #993333; margin: 0 0 6px; }}
.related a {{ color: #564a4b; display: block; margin: 6px 0; text-decoration: none; }}
footer {{ color: #9b928d; font: 12px "Liberation Sans", sans-serif; text-align: center; padding: 16px; }}
</style>
</head>
<body>
<header>Vemo <span>| {category}</span></header>
<article>
<h1>{title}</h1>
<p class="date">{date}</p>
<figure><img src="{picture}" alt="{title}"><figcaption>Ảnh minh họa: Vemo</figcaption></figure>
<p class="lead">{summary}</p>
<p>{body1}</p>
<p>{body2}</p>
<p class="author">Phóng viên Vemo</p>
<div class="related">
<h2>Tin liên quan</h2>
{related}
</div>
</article>
<footer>© 2011 Vemo – Tin tức Việt Nam</footer>
</body>
</html>
"""


def article(story, related):
    e = html.escape
    links = "\n".join('<a href="%s">%s</a>' % (e(r.link), e(r.text.title)) for r in related)
    return ARTICLE.format(
        title=e(story.text.title), category=e(story.category.name), date=page_date(story.when),
        picture=e(story.picture), summary=e(story.text.summary), body1=e(story.text.body1),
        body2=e(story.text.body2), related=links)


def check_dates(stories):
    hours = {s.when.hour for s in stories}
    days = {s.when.day for s in stories}
    for hour in (0, 11, 12, 23):
        assert hour in hours, "no story at hour %02d" % hour
    assert 9 in days and 31 in days, "no story on day 09 or on the 31st"


def write(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(text, encoding="utf-8")


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "sample-site")
    by_category, all_stories = build_stories(Images(root))
    check_dates(all_stories)

    # Start from a clean tree so that renamed stories leave nothing behind.
    shutil.rmtree(root / "rss", ignore_errors=True)
    for category in CATEGORIES:
        shutil.rmtree(root / category.slug, ignore_errors=True)

    write(root / "mobi" / "app_menu.php", menu())
    write(root / "Home.rss", feed("Vemo - Trang chủ", "Tin mới nhất trên Vemo", all_stories[:HOME_LENGTH]))
    for category in CATEGORIES:
        stories = by_category[category.slug]
        write(root / "rss" / (category.slug + ".rss"),
              feed("Vemo - " + category.name, "Tin %s trên Vemo" % category.name.lower(), stories))
        for slug, name in category.subs:
            write(root / "rss" / category.slug / (slug + ".rss"),
                  feed("Vemo - %s - %s" % (category.name, name), "Tin %s trên Vemo" % name.lower(),
                       sub_feed_stories(category, slug, stories)))
        for i, story in enumerate(stories):
            related = [stories[(i + k) % len(stories)] for k in (1, 2, 3)]
            write(root / story.path, article(story, related))


if __name__ == "__main__":
    main()
